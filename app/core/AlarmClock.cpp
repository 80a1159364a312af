#include "app/core/AlarmClock.h"

#include "app/core/AlarmSchedule.h"

namespace Tunewell {

AlarmClock::AlarmClock(Clock Now, QTimeZone Zone, std::chrono::milliseconds TickInterval, QObject *Parent)
    : QObject(Parent), Now_(std::move(Now)), Zone_(std::move(Zone)) {
    Ticker_.setInterval(TickInterval);
    connect(&Ticker_, &QTimer::timeout, this, &AlarmClock::Tick);
}

QDateTime AlarmClock::Now() const {
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(Now_().time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(since.count(), QTimeZone::utc());
}

void AlarmClock::Set(const AlarmChoice &Choice) {
    Choice_ = Choice;
    Next_ = Choice_.On ? NextAlarm(Choice_, Now(), Zone_) : QDateTime();
    if (Next_.isValid())
        Ticker_.start();
    else
        Ticker_.stop();
    emit Changed();
}

void AlarmClock::Tick() {
    if (!Next_.isValid())
        return;
    const QDateTime now = Now();
    if (now < Next_)
        return;
    const QDateTime due = Next_;
    const bool late = due.msecsTo(now) > std::chrono::milliseconds(AlarmLatest).count();
    const AlarmChoice rung = Choice_;
    AlarmChoice next = Choice_;
    next.On = Choice_.Days != 0;
    Set(next);
    if (late)
        emit Missed(due);
    else
        emit Ringing(rung);
}

} // namespace Tunewell
