#include "TunewellCloud/PushIdGenerator.h"

#include "TunewellCloud/Crypto.h"

#include <algorithm>

namespace TunewellCloud {

namespace {
constexpr char kAlphabet[] = "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
constexpr int kAlphabetSize = 64;
} // namespace

PushIdGenerator::PushIdGenerator() : PushIdGenerator(Crypto::randomBytes) {}

PushIdGenerator::PushIdGenerator(RandomSource random) : random_(std::move(random)) {}

std::string PushIdGenerator::next(std::int64_t nowMilliseconds) {
    std::lock_guard lock(mutex_);
    if (nowMilliseconds > lastTime_) {
        lastTime_ = nowMilliseconds;
        const std::string bytes = random_(lastRandom_.size());
        // 256 is a multiple of 64: every digit is equally likely.
        for (std::size_t i = 0; i < lastRandom_.size(); ++i)
            lastRandom_[i] = static_cast<unsigned char>(bytes.at(i)) % kAlphabetSize;
        // Leave head room so increments within one millisecond never wrap the random part.
        lastRandom_[0] = std::min(lastRandom_[0], kAlphabetSize - 2);
    } else {
        int position = static_cast<int>(lastRandom_.size()) - 1;
        while (position >= 0 && lastRandom_[position] == kAlphabetSize - 1) {
            lastRandom_[position] = 0;
            --position;
        }
        if (position < 0) {
            // Every key of this millisecond is spent: borrow the next one.
            ++lastTime_;
            lastRandom_.fill(0);
        } else {
            ++lastRandom_[position];
        }
    }
    std::string key(20, '-');
    std::int64_t time = lastTime_;
    for (int i = 7; i >= 0; --i) {
        key[i] = kAlphabet[time % kAlphabetSize];
        time /= kAlphabetSize;
    }
    for (std::size_t i = 0; i < lastRandom_.size(); ++i)
        key[8 + i] = kAlphabet[lastRandom_[i]];
    return key;
}

} // namespace TunewellCloud
