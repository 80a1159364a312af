#pragma once

#include "app/core/PlayerSettings.h"
#include "app/core/SleepTimer.h"
#include "app/desktop/HistoryWindow.h"
#include "app/desktop/PlayerAlarm.h"
#include "app/desktop/PlayerRecording.h"
#include "app/desktop/SleepTimerMenu.h"

#include <QDBusConnection>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QAction;

namespace Player {
class Wmp;
}

namespace Tunewell {

class SingleInstance;

class FocusedControlKeys;
class FormRadioRemote;
class HistoryStore;
class MainWindowControl;
class MediaPlayer2Service;
class PlayerCommands;
class PlayerRemote;
class PlayerTrayIcon;
class RecentTitlesMenu;
class StatusNotice;
class TFormRadio;
class TitleHistory;
class TitleNotices;

// What the program binds at start; tests replace parts.
struct DesktopOptions {
    // Ends the event loop after the main window's last close.
    std::function<void()> EndProgram;
    // Whether the desktop shows a tray; asked of the desktop when not given.
    std::optional<bool> TrayAvailable;
    SleepTimer::Clock SleepClock = &SleepCountdown::Clock::now;
    std::chrono::milliseconds SleepTick{200};
    SleepTimerMenu::AskMinutes AskSleepMinutes;
    // The title history's database; empty keeps the history in memory for the run.
    std::string HistoryFile;
    HistoryWindow::AskFile AskHistoryFile;
    PlayerAlarm::Options Alarm;
    PlayerRecording::Options Recording;
    // The program's claim to run alone in the session, given up with the media interface's name
    // as soon as the main window's close begins; none in tests that start no program.
    SingleInstance *Instance = nullptr;
};

// The desktop's additions beside the main window, made once the window exists and gone before
// it: the Player menu's commands and keys (kept from a focused control), the sleep timer and its status bar
// panel, the tray icon where the desktop has a tray, the media interface and the title notices where there is
// a session bus, the title history and its window, the alarm, recording, and the player's choices kept in the
// settings store.
class DesktopIntegration {
public:
    DesktopIntegration(TFormRadio &Form, Player::Wmp &Wmp, QDBusConnection Bus, DesktopOptions Options = {});
    ~DesktopIntegration();

    PlayerRemote &Remote();
    MainWindowControl &Control() { return *Control_; }
    SleepTimer &Sleep() { return *Sleep_; }
    PlayerCommands &Commands() { return *Commands_; }
    // Null without a tray, a session bus, or the bus name.
    PlayerTrayIcon *Tray() { return Tray_.get(); }
    MediaPlayer2Service *MediaInterface() { return MediaInterface_.get(); }
    TitleNotices *Notices() { return Notices_.get(); }
    QAction *TitleNoticesItem() const { return TitleNoticesItem_; }
    QAction *CloseToTrayItem() const { return CloseToTrayItem_; }
    QAction *QuitItem() const { return QuitItem_; }
    // Gives up the media interface's name, for a new instance started before this one ends.
    void LeaveTheBus();
    TitleHistory &History() { return *History_; }
    QAction *HistoryItem() const { return HistoryItem_; }
    // The History window once opened; null before, and after it was closed.
    HistoryWindow *HistoryShown() const { return HistoryWindow_; }
    StatusNotice *HistoryNotice() const { return HistoryNotice_; }
    PlayerAlarm &Alarm() { return *Alarm_; }
    PlayerRecording &Recording() { return *Recording_; }

private:
    void StartOnTheBus(QDBusConnection Bus);
    void AddChoices(TFormRadio &Form, bool TrayAvailable);
    void AddHistory(TFormRadio &Form, const DesktopOptions &Options);
    void ShowHistory(TFormRadio &Form, const HistoryWindow::AskFile &Ask);
    void KeepVolume();

    PlayerSettings Settings_;
    std::unique_ptr<FormRadioRemote> Remote_;
    std::unique_ptr<MainWindowControl> Control_;
    std::unique_ptr<SleepTimer> Sleep_;
    std::unique_ptr<PlayerCommands> Commands_;
    std::unique_ptr<FocusedControlKeys> ControlKeys_;
    std::unique_ptr<SleepTimerMenu> SleepMenu_;
    std::unique_ptr<MediaPlayer2Service> MediaInterface_;
    std::unique_ptr<TitleNotices> Notices_;
    std::unique_ptr<HistoryStore> HistoryStore_;
    std::unique_ptr<TitleHistory> History_;
    std::unique_ptr<RecentTitlesMenu> RecentTitles_;
    QPointer<HistoryWindow> HistoryWindow_;
    QAction *HistoryItem_ = nullptr;
    StatusNotice *HistoryNotice_ = nullptr;
    std::unique_ptr<PlayerAlarm> Alarm_;
    std::unique_ptr<PlayerRecording> Recording_;
    std::unique_ptr<PlayerTrayIcon> Tray_;
    QAction *TitleNoticesItem_ = nullptr;
    QAction *CloseToTrayItem_ = nullptr;
    QAction *QuitItem_ = nullptr;
    // A volume is written once the slider has rested, not at every step of a drag.
    QTimer VolumeRest_;
};

} // namespace Tunewell
