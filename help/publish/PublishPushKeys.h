#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace Tunewell {

// Child keys in the cloud's own push-key form (8 characters of milliseconds, then 12 random ones),
// made here so that a whole catalogue can be written in one replace. Every key is greater than the
// one before it, also within one millisecond or when the clock steps back, so the catalogue keeps
// the order of its lines.
class PublishPushKeys {
public:
    using TClock = std::function<std::int64_t()>; // milliseconds since 1970-01-01 UTC
    using TRandom = std::function<std::uint32_t()>;

    static constexpr const char *kAlphabet =
        "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    static constexpr std::size_t kTimeLength = 8;
    static constexpr std::size_t kRandomLength = 12;

    // The system clock and a randomly seeded generator.
    PublishPushKeys();
    PublishPushKeys(TClock Clock, TRandom Random);

    std::string Next();

private:
    TClock fClock;
    TRandom fRandom;
    std::string fLast;
};

} // namespace Tunewell
