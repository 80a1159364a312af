#pragma once

#include "app/core/SleepCountdown.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace Tunewell {

// The sleep timer on the event loop: a countdown on a monotonic clock that tests replace, which
// fades the player's volume over its last 30 s, stops playback and puts the volume back.
class SleepTimer : public QObject {
    Q_OBJECT
public:
    // What the timer acts on: the player's volume (0 to 100) and its stop.
    struct Target {
        std::function<int()> Volume;
        std::function<void(int)> SetVolume;
        std::function<void()> Stop;
    };
    using Clock = std::function<SleepCountdown::Clock::time_point()>;

    explicit SleepTimer(Target Player, Clock Now = &SleepCountdown::Clock::now,
                        std::chrono::milliseconds TickInterval = std::chrono::milliseconds(200),
                        QObject *Parent = nullptr);

    void Start(std::chrono::seconds Length);
    void Cancel();
    bool Running() const { return Countdown_.Running(); }
    // While true the player's volume is the fade's, not the user's.
    bool Fading() const { return Countdown_.Fading(); }
    // Whole seconds, rounded up; zero when not running.
    std::chrono::seconds Remaining() const;

signals:
    // Started, cancelled, ended, or the remaining whole seconds changed.
    void Changed();

private:
    void Tick();
    void Carry(const SleepCountdown::Step &Step);
    void Publish();

    Target Player_;
    Clock Now_;
    SleepCountdown Countdown_;
    QTimer Ticker_;
    std::chrono::seconds Shown_{-1};
};

} // namespace Tunewell
