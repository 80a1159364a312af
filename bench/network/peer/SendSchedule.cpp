#include "SendSchedule.h"

#include <algorithm>

namespace TunewellBench {

SendSchedule::SendSchedule(double BytesPerSecond) : BytesPerSecond_(BytesPerSecond), Next_(Clock::now()) {}

SendSchedule::Clock::time_point SendSchedule::Reserve(std::size_t Bytes) {
    const std::lock_guard lock(Mutex_);
    // A link that stayed idle does not save up its idle time for a burst.
    const Clock::time_point at = std::max(Next_, Clock::now());
    Next_ = at + std::chrono::duration_cast<Clock::duration>(
                     std::chrono::duration<double>(static_cast<double>(Bytes) / BytesPerSecond_));
    return at;
}

} // namespace TunewellBench
