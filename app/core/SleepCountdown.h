#pragma once

#include <chrono>
#include <optional>

namespace Tunewell {

// The sleep timer's rule, without a clock of its own: count down, fade the volume to silence
// over the last 30 s, then stop playback and put the volume back where it was when the fade
// began. A level the listener sets during the fade ends the fade: their level stays, also at the
// end. Every call is given "now", so any length runs in a test in no time.
class SleepCountdown {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds FadeLength{30};

    // What the owner carries out, in this order: stop playback, then set the volume.
    struct Step {
        bool Stop = false;
        std::optional<int> Volume;
        bool operator==(const Step &) const = default;
    };

    // A new countdown replaces a running one; a fade under way is undone first.
    Step Start(Clock::duration Length, Clock::time_point Now);
    // Ends the countdown; a fade under way is undone.
    Step Cancel();
    // Moves the countdown to Now; CurrentVolume is the level a fade starting now fades from.
    Step Advance(Clock::time_point Now, int CurrentVolume);

    bool Running() const { return State_ != State::Off; }
    bool Fading() const { return State_ == State::Fading; }
    // Zero when not running.
    Clock::duration Remaining(Clock::time_point Now) const;

private:
    // Unfaded: in the fade's time, at the listener's own level.
    enum class State { Off, Counting, Fading, Unfaded };

    State State_ = State::Off;
    Clock::time_point End_;
    int FadeFrom_ = 0;
    int LastLevel_ = 0;
};

} // namespace Tunewell
