#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>

namespace TunewellBench {

// A rate in bytes per second handed out in turn: each reservation gets the moment its bytes may
// go, after every byte reserved before it. One schedule shared by several connections is a link
// they share.
class SendSchedule {
public:
    using Clock = std::chrono::steady_clock;
    explicit SendSchedule(double BytesPerSecond);
    Clock::time_point Reserve(std::size_t Bytes);

private:
    std::mutex Mutex_;
    const double BytesPerSecond_;
    Clock::time_point Next_;
};

// How one direction of a relayed connection sends: in pieces of at most Piece bytes, each when
// its schedule lets it (at once without one).
struct Pace {
    std::shared_ptr<SendSchedule> Schedule;
    std::size_t Piece = 16384;
};

} // namespace TunewellBench
