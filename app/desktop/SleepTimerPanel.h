#pragma once

#include <QLabel>

class QStatusBar;

namespace Tunewell {

class SleepTimer;

// The time left on the sleep timer, in a panel of its own at the right end of the status bar;
// hidden while no timer runs.
class SleepTimerPanel : public QLabel {
    Q_OBJECT
public:
    SleepTimerPanel(QStatusBar &Bar, SleepTimer &Timer);

private:
    void Follow();

    SleepTimer &Timer_;
};

} // namespace Tunewell
