#include "app/core/AlarmRise.h"

#include <algorithm>

namespace Tunewell {

using std::chrono::duration_cast;
using std::chrono::milliseconds;

void AlarmRise::Start(Clock::time_point Now, int Level) {
    Rising_ = true;
    Start_ = Now;
    Level_ = std::clamp(Level, 0, 100);
    LastSet_ = 0;
}

std::optional<int> AlarmRise::Advance(Clock::time_point Now, int CurrentVolume) {
    if (!Rising_)
        return std::nullopt;
    if (CurrentVolume != LastSet_) {
        Rising_ = false;
        return std::nullopt;
    }
    const auto riseMs = duration_cast<milliseconds>(RiseLength).count();
    const auto pastMs = std::clamp<long long>(duration_cast<milliseconds>(Now - Start_).count(), 0, riseMs);
    // Linear on the slider, as the sleep timer's fade.
    const int level = static_cast<int>((Level_ * pastMs + riseMs / 2) / riseMs);
    if (pastMs == riseMs)
        Rising_ = false;
    if (level == LastSet_)
        return std::nullopt;
    LastSet_ = level;
    return level;
}

} // namespace Tunewell
