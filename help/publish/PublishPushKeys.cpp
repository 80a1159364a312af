#include "help/publish/PublishPushKeys.h"

#include "Cumulo/RandomBytes.h"

#include <array>
#include <chrono>
#include <stdexcept>
#include <string_view>

namespace Tunewell {

namespace {

constexpr std::string_view kDigits{PublishPushKeys::kAlphabet};

// The alphabet is in byte order, so the successor of a key in base 64 is also its successor as text.
std::string Successor(std::string Key) {
    for (auto Position = Key.size(); Position-- > 0;) {
        const auto Digit = kDigits.find(Key[Position]);
        if (Digit + 1 < kDigits.size()) {
            Key[Position] = kDigits[Digit + 1];
            return Key;
        }
        Key[Position] = kDigits.front();
    }
    throw std::overflow_error("no push key follows " + Key);
}

std::string TimePart(std::int64_t Milliseconds) {
    if (Milliseconds < 0)
        throw std::invalid_argument("push keys need a clock at or after 1970");
    std::string Text(PublishPushKeys::kTimeLength, kDigits.front());
    for (auto Position = Text.size(); Position-- > 0;) {
        Text[Position] = kDigits[static_cast<std::size_t>(Milliseconds % 64)];
        Milliseconds /= 64;
    }
    return Text;
}

} // namespace

PublishPushKeys::PublishPushKeys()
    : PublishPushKeys(
          [] {
              return std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                  .count();
          },
          CryptographicDigits()) {}

PublishPushKeys::TRandom PublishPushKeys::CryptographicDigits() {
    // Fetched in batches: a catalogue of tens of thousands of keys asks for each digit.
    return [Bytes = std::array<std::uint8_t, 240>{}, Next = std::size_t{240}]() mutable {
        if (Next == Bytes.size()) {
            Cumulo::FillRandomBytes(Bytes);
            Next = 0;
        }
        return std::uint32_t{Bytes[Next++]};
    };
}

PublishPushKeys::PublishPushKeys(TClock Clock, TRandom Random)
    : fClock(std::move(Clock)), fRandom(std::move(Random)) {}

std::string PublishPushKeys::Next() {
    auto Key = TimePart(fClock());
    if (!fLast.empty() && Key <= fLast.substr(0, kTimeLength)) {
        fLast = Successor(fLast);
        return fLast;
    }
    for (std::size_t Count = 0; Count < kRandomLength; ++Count)
        Key += kDigits[fRandom() % kDigits.size()];
    fLast = Key;
    return Key;
}

} // namespace Tunewell
