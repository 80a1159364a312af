#pragma once

#include <chrono>
#include <optional>

namespace Tunewell {

// The alarm's rise, without a clock of its own: the volume goes from silence to the chosen level
// over 30 s. A level the listener sets meanwhile ends the rise and stays.
class AlarmRise {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds RiseLength{30};

    // Starts at silence: the volume to set now is 0.
    void Start(Clock::time_point Now, int Level);
    // The volume to set now, or none. CurrentVolume is the player's: one that is not the level
    // set last is the listener's, and ends the rise.
    std::optional<int> Advance(Clock::time_point Now, int CurrentVolume);
    void Stop() { Rising_ = false; }
    bool Rising() const { return Rising_; }
    int Level() const { return Level_; }
    // The volume the rise set last (0 at its start).
    int LastSet() const { return LastSet_; }

private:
    bool Rising_ = false;
    Clock::time_point Start_;
    int Level_ = 0;
    int LastSet_ = 0;
};

} // namespace Tunewell
