#pragma once

#include "app/core/AlarmChoice.h"

#include <QDateTime>
#include <QObject>
#include <QTimeZone>
#include <QTimer>
#include <chrono>
#include <functional>

namespace Tunewell {

// The alarm on the event loop: a wall clock that tests replace, looked at every tick, so a
// machine woken from sleep finds its alarm due at the next tick. A choice without days is done
// once it rang (or was missed); one with days moves to its next time.
class AlarmClock : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    explicit AlarmClock(Clock Now = &std::chrono::system_clock::now,
                        QTimeZone Zone = QTimeZone::systemTimeZone(),
                        std::chrono::milliseconds TickInterval = std::chrono::seconds(1),
                        QObject *Parent = nullptr);

    // A choice that is off stops the alarm.
    void Set(const AlarmChoice &Choice);
    const AlarmChoice &Choice() const { return Choice_; }
    // When it rings next; invalid when off.
    const QDateTime &Next() const { return Next_; }

signals:
    // Time to wake the listener with Choice.
    void Ringing(const Tunewell::AlarmChoice &Choice);
    // The clock was found past the time by more than AlarmLatest (the machine slept through it).
    void Missed(const QDateTime &When);
    // Set, off, or moved to its next time.
    void Changed();

private:
    void Tick();
    QDateTime Now() const;

    Clock Now_;
    QTimeZone Zone_;
    AlarmChoice Choice_;
    QDateTime Next_;
    QTimer Ticker_;
};

} // namespace Tunewell
