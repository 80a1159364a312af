#pragma once

#include <chrono>

namespace Player {

// Delay before each reconnect attempt: doubles from the first delay up to the ceiling.
class ReconnectBackoff {
public:
    ReconnectBackoff(std::chrono::milliseconds first = std::chrono::seconds(1),
                     std::chrono::milliseconds ceiling = std::chrono::seconds(10));

    // The delay for the next attempt; each call lengthens the following one.
    std::chrono::milliseconds next();
    // Called once a stream plays again.
    void reset();

private:
    std::chrono::milliseconds first_;
    std::chrono::milliseconds ceiling_;
    std::chrono::milliseconds current_;
};

} // namespace Player
