#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>

namespace TunewellCloud {

// Keys for added children: 8 characters of milliseconds then 12 random ones, in an alphabet
// whose byte order is its numeric order, so keys sort by creation time. Within one
// millisecond (or when the clock steps back) the random part is incremented instead, so
// every key is greater than the one before.
class PushIdGenerator {
public:
    PushIdGenerator();
    std::string next(std::int64_t nowMilliseconds);

private:
    std::mutex mutex_;
    std::mt19937_64 random_;
    std::int64_t lastTime_ = -1;
    std::array<int, 12> lastRandom_{};
};

} // namespace TunewellCloud
