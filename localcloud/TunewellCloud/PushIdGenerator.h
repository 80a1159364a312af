#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace TunewellCloud {

// Keys for added children: 8 characters of milliseconds then 12 random ones, in an alphabet
// whose byte order is its numeric order, so keys sort by creation time. Within one
// millisecond (or when the clock steps back) the random part is incremented instead, so
// every key is greater than the one before.
class PushIdGenerator {
public:
    // Answers that many random bytes.
    using RandomSource = std::function<std::string(std::size_t)>;

    // The random part comes from the cryptographic source: a profile's key is its only secret,
    // so no key may be foretold from the keys seen before it.
    PushIdGenerator();
    explicit PushIdGenerator(RandomSource random);
    std::string next(std::int64_t nowMilliseconds);

private:
    std::mutex mutex_;
    RandomSource random_;
    std::int64_t lastTime_ = -1;
    std::array<int, 12> lastRandom_{};
};

} // namespace TunewellCloud
