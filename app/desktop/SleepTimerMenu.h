#pragma once

#include <QObject>
#include <functional>
#include <optional>

class QAction;
class QWidget;

namespace Tunewell {

class PlayerMenu;
class PlayerSettings;
class SleepTimer;

// The "Sleep timer" submenu: the usual durations, one typed in, and a cancel. The duration
// chosen last is kept and offered again when one is typed.
class SleepTimerMenu : public QObject {
    Q_OBJECT
public:
    // Asks for a number of minutes, starting from the one given; none when the user declines.
    using AskMinutes = std::function<std::optional<int>(QWidget *Parent, int Initial)>;

    // Window: the main window, over which a duration is asked.
    SleepTimerMenu(PlayerMenu &Parent, QWidget &Window, SleepTimer &Timer, const PlayerSettings &Settings,
                   AskMinutes Ask = {});

    PlayerMenu &Menu() const { return *Menu_; }
    QAction *Cancel() const { return Cancel_; }

private:
    void Start(int Minutes);
    void Follow();

    QWidget &Window_;
    SleepTimer &Timer_;
    const PlayerSettings &Settings_;
    AskMinutes Ask_;
    PlayerMenu *Menu_ = nullptr;
    QAction *Cancel_ = nullptr;
};

} // namespace Tunewell
