#pragma once

#include "app/core/AlarmRise.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

namespace Tunewell {

class PlayerRemote;
class SleepTimer;
struct AlarmChoice;

// What the alarm does when it rings: it plays its station from silence, the volume rising to the
// chosen level (AlarmRise). A station that fails, or is not playing within PlayingBound, gives way
// to the fallback sound (the demo clip shipped with the program), played again each time it ends,
// so a dead stream never leaves the listener asleep. A sleep timer running is cancelled: it would
// stop the alarm. Another station, a stop, or a volume set by the listener ends the waking there.
class AlarmWaking : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<AlarmRise::Clock::time_point()>;
    static constexpr std::chrono::seconds PlayingBound{20};

    AlarmWaking(PlayerRemote &Remote, SleepTimer &Sleep, std::function<void(const QString &Url)> PlayAddress,
                QString FallbackSound, Clock Now = &AlarmRise::Clock::now,
                std::chrono::milliseconds TickInterval = std::chrono::milliseconds(200),
                QObject *Parent = nullptr);

    // The installed demo clip, or the build's when run from the build; empty when neither is there.
    static QString DefaultFallbackSound();

    void Wake(const AlarmChoice &Choice);
    // While true the player's volume is the rise's, not the listener's.
    bool Rising() const { return Rise_.Rising(); }
    bool Waking() const { return Phase_ != Phase::Idle; }

    // The address the fallback sound plays at; empty without one.
    QString FallbackUrl() const;

signals:
    // Station could not be played, and the fallback sound plays instead (with none, the volume is
    // simply set, and this is not said).
    void FellBack(const QString &Station);

private:
    enum class Phase { Idle, Station, Fallback };
    void Tick();
    void FallBack();
    // Restore: set the chosen level unless the listener moved the volume.
    void End(bool Restore);

    PlayerRemote &Remote_;
    SleepTimer &Sleep_;
    std::function<void(const QString &)> PlayAddress_;
    QString FallbackSound_;
    Clock Now_;
    QTimer Ticker_;
    AlarmRise Rise_;
    Phase Phase_ = Phase::Idle;
    bool RiseStarted_ = false;
    int Level_ = 0;
    // The name of the station the alarm plays.
    QString StationName_;
    QString ExpectedUrl_;
    AlarmRise::Clock::time_point Deadline_;
};

} // namespace Tunewell
