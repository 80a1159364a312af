#include "app/desktop/SleepTimerPanel.h"

#include "app/core/SleepTimer.h"

#include <QStatusBar>

namespace Tunewell {

namespace {
// "14:59", or "1:29:59" from an hour on.
QString Clock(std::chrono::seconds Left) {
    const auto total = Left.count();
    const auto hours = total / 3600;
    const auto minutes = total / 60 % 60;
    const auto seconds = total % 60;
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(seconds, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}
} // namespace

SleepTimerPanel::SleepTimerPanel(QStatusBar &Bar, SleepTimer &Timer) : QLabel(&Bar), Timer_(Timer) {
    setObjectName(QStringLiteral("SleepTimerPanel"));
    Bar.addPermanentWidget(this);
    connect(&Timer_, &SleepTimer::Changed, this, &SleepTimerPanel::Follow);
    Follow();
}

void SleepTimerPanel::Follow() {
    setVisible(Timer_.Running());
    if (Timer_.Running())
        setText(QStringLiteral("Sleep in %1").arg(Clock(Timer_.Remaining())));
}

} // namespace Tunewell
