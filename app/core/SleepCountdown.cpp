#include "app/core/SleepCountdown.h"

#include <algorithm>

namespace Tunewell {

using std::chrono::duration_cast;
using std::chrono::milliseconds;

SleepCountdown::Step SleepCountdown::Start(Clock::duration Length, Clock::time_point Now) {
    const Step undone = Cancel();
    State_ = State::Counting;
    End_ = Now + std::max(Length, Clock::duration::zero());
    return undone;
}

SleepCountdown::Step SleepCountdown::Cancel() {
    const bool wasFading = Fading();
    State_ = State::Off;
    if (!wasFading)
        return {};
    return {false, FadeFrom_};
}

SleepCountdown::Clock::duration SleepCountdown::Remaining(Clock::time_point Now) const {
    if (!Running())
        return Clock::duration::zero();
    return std::max(End_ - Now, Clock::duration::zero());
}

SleepCountdown::Step SleepCountdown::Advance(Clock::time_point Now, int CurrentVolume) {
    if (!Running())
        return {};
    const Clock::duration left = Remaining(Now);
    if (State_ == State::Counting && left <= FadeLength) {
        State_ = State::Fading;
        FadeFrom_ = CurrentVolume;
        LastLevel_ = CurrentVolume;
    } else if (State_ == State::Fading && CurrentVolume != LastLevel_) {
        // A level the fade did not set is the listener's: it stays, and nothing is put back.
        State_ = State::Unfaded;
    }
    if (left == Clock::duration::zero()) {
        const bool faded = State_ == State::Fading;
        State_ = State::Off;
        return faded ? Step{true, FadeFrom_} : Step{true, std::nullopt};
    }
    if (State_ != State::Fading)
        return {};
    // Linear on the slider, whose scale is already the loudness people hear.
    const auto leftMs = duration_cast<milliseconds>(left).count();
    const auto fadeMs = duration_cast<milliseconds>(FadeLength).count();
    const int level = static_cast<int>((FadeFrom_ * leftMs + fadeMs / 2) / fadeMs);
    if (level == LastLevel_)
        return {};
    LastLevel_ = level;
    return {false, level};
}

} // namespace Tunewell
