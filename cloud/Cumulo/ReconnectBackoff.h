#pragma once

#include <chrono>

namespace Cumulo {

// The wait before each reconnection of the listener: it doubles after every connection that
// brought no event, up to a cap, and starts again from the first wait once events flow.
class TReconnectBackoff {
public:
    using milliseconds = std::chrono::milliseconds;

    explicit TReconnectBackoff(milliseconds First = milliseconds(500),
                               milliseconds Cap = milliseconds(30000));

    // The wait before the next connection; each call doubles the following one.
    milliseconds NextDelay();
    void Reset();

private:
    milliseconds fFirst;
    milliseconds fCap;
    milliseconds fNext;
};

} // namespace Cumulo
