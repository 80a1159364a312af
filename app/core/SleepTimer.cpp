#include "app/core/SleepTimer.h"

namespace Tunewell {

SleepTimer::SleepTimer(Target Player, Clock Now, std::chrono::milliseconds TickInterval, QObject *Parent)
    : QObject(Parent), Player_(std::move(Player)), Now_(std::move(Now)) {
    Ticker_.setInterval(TickInterval);
    connect(&Ticker_, &QTimer::timeout, this, &SleepTimer::Tick);
}

void SleepTimer::Start(std::chrono::seconds Length) {
    Carry(Countdown_.Start(Length, Now_()));
    Ticker_.start();
    Tick();
}

void SleepTimer::Cancel() {
    Carry(Countdown_.Cancel());
    Ticker_.stop();
    Publish();
}

std::chrono::seconds SleepTimer::Remaining() const {
    return std::chrono::ceil<std::chrono::seconds>(Countdown_.Remaining(Now_()));
}

void SleepTimer::Tick() {
    Carry(Countdown_.Advance(Now_(), Player_.Volume()));
    if (!Countdown_.Running())
        Ticker_.stop();
    Publish();
}

void SleepTimer::Carry(const SleepCountdown::Step &Step) {
    if (Step.Stop)
        Player_.Stop();
    if (Step.Volume)
        Player_.SetVolume(*Step.Volume);
}

void SleepTimer::Publish() {
    const std::chrono::seconds shown = Running() ? Remaining() : std::chrono::seconds(-1);
    if (shown == Shown_)
        return;
    Shown_ = shown;
    emit Changed();
}

} // namespace Tunewell
