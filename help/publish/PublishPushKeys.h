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
    using TClock = std::function<std::int64_t()>;   // milliseconds since 1970-01-01 UTC
    using TRandom = std::function<std::uint32_t()>; // one digit's worth: taken modulo 64

    static constexpr const char *kAlphabet =
        "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    static constexpr std::size_t kTimeLength = 8;
    static constexpr std::size_t kRandomLength = 12;

    // The system clock and the cryptographic digits.
    PublishPushKeys();
    PublishPushKeys(TClock Clock, TRandom Random);

    // Digits from the system's cryptographic source, so that no key can be foretold from the keys
    // before it; nothing seeds them.
    static TRandom CryptographicDigits();

    std::string Next();

private:
    TClock fClock;
    TRandom fRandom;
    std::string fLast;
};

} // namespace Tunewell
