#include "app/desktop/DesktopIntegration.h"

#include "Cumulo/MainThread.h"
#include "Player/Wmp.h"
#include "app/desktop/FocusedControlKeys.h"
#include "app/desktop/FormRadioRemote.h"
#include "app/desktop/MainWindowControl.h"
#include "app/desktop/MediaPlayer2Service.h"
#include "app/desktop/PlayerCommands.h"
#include "app/desktop/PlayerTrayIcon.h"
#include "app/desktop/RecentTitlesMenu.h"
#include "app/desktop/SingleInstance.h"
#include "app/desktop/SleepTimerPanel.h"
#include "app/desktop/TitleHistory.h"
#include "app/desktop/TitleNotices.h"
#include "app/history/HistoryStore.h"
#include "app/ui/FormRadio.h"
#include "app/ui/PlayerMenu.h"
#include "app/ui/StatusNotice.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QKeySequence>
#include <QStatusBar>
#include <QSystemTrayIcon>

namespace Tunewell {

DesktopIntegration::DesktopIntegration(TFormRadio &Form, Player::Wmp &Wmp, QDBusConnection Bus,
                                       DesktopOptions Options) {
    if (const auto volume = Settings_.Volume())
        Wmp.setVolume(*volume);
    Remote_ = std::make_unique<FormRadioRemote>(Form, Wmp);
    Control_ = std::make_unique<MainWindowControl>(Form, Options.EndProgram);
    PlayerRemote &remote = *Remote_;
    Sleep_ =
        std::make_unique<SleepTimer>(SleepTimer::Target{[&remote] { return remote.Volume(); },
                                                        [&remote](int Percent) { remote.SetVolume(Percent); },
                                                        [&remote] { remote.Stop(); }},
                                     Options.SleepClock, Options.SleepTick);

    Commands_ = std::make_unique<PlayerCommands>(*Form.Player1, remote);
    ControlKeys_ = std::make_unique<FocusedControlKeys>(Form);
    Form.Player1->addSeparator();
    SleepMenu_ =
        std::make_unique<SleepTimerMenu>(*Form.Player1, Form, *Sleep_, Settings_, Options.AskSleepMinutes);
    new SleepTimerPanel(*Form.StatusBar1, *Sleep_);
    AddHistory(Form, Options);
    Alarm_ = std::make_unique<PlayerAlarm>(
        Form, remote, *Sleep_, [&Wmp](const QString &Url) { Wmp.setURL(Url); }, Settings_, Options.Alarm);
    Recording_ =
        std::make_unique<PlayerRecording>(*Form.Player1, *Form.StatusBar1, remote, Wmp, Options.Recording);

    const bool trayAvailable = Options.TrayAvailable.value_or(QSystemTrayIcon::isSystemTrayAvailable());
    AddChoices(Form, trayAvailable);
    if (trayAvailable) {
        Tray_ = std::make_unique<PlayerTrayIcon>(remote, *Control_,
                                                 PlayerTrayIcon::Items{Commands_->PlayPause, Commands_->Stop,
                                                                       &SleepMenu_->Menu(), QuitItem_,
                                                                       RecentTitles_.get()},
                                                 Form);
        Tray_->Icon().show();
        const auto noteAlarm = [this] { Tray_->SetNote(Alarm_->Note()); };
        QObject::connect(Alarm_.get(), &PlayerAlarm::NoteChanged, Tray_.get(), noteAlarm);
        noteAlarm();
    }
    StartOnTheBus(std::move(Bus));
    // A start after Quit runs at once, while this one still writes its close record: it finds
    // both names free, and no activation reaches the window going away.
    QObject::connect(&Form, &TFormRadio::CloseRequested, Control_.get(), [this, instance = Options.Instance] {
        LeaveTheBus();
        if (instance)
            instance->Release();
    });

    VolumeRest_.setSingleShot(true);
    VolumeRest_.setInterval(1000);
    QObject::connect(&VolumeRest_, &QTimer::timeout, Guarded([this] { KeepVolume(); }));
    QObject::connect(&remote, &PlayerRemote::VolumeChanged, &VolumeRest_, qOverload<>(&QTimer::start));
}

DesktopIntegration::~DesktopIntegration() {
    // The window reads the history, which goes with this object; the main window would keep it.
    delete HistoryWindow_;
    // A fade under way gives the volume back first, so the user's level is the one kept.
    Sleep_->Cancel();
    if (VolumeRest_.isActive())
        KeepVolume();
}

PlayerRemote &DesktopIntegration::Remote() {
    return *Remote_;
}

void DesktopIntegration::AddChoices(TFormRadio &Form, bool TrayAvailable) {
    PlayerMenu &menu = *Form.Player1;
    TitleNoticesItem_ =
        menu.AddItem(QStringLiteral("Title notifications"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    TitleNoticesItem_->setCheckable(true);
    CloseToTrayItem_ =
        menu.AddItem(QStringLiteral("Close to tray"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    CloseToTrayItem_->setCheckable(true);
    // Without a tray a hidden window could not be brought back.
    CloseToTrayItem_->setEnabled(TrayAvailable);
    CloseToTrayItem_->setChecked(TrayAvailable && Settings_.CloseToTray());
    Control_->SetCloseToTray(CloseToTrayItem_->isChecked());
    QObject::connect(CloseToTrayItem_, &QAction::toggled, Control_.get(), [this](bool On) {
        RunHandler([&] {
            Control_->SetCloseToTray(On);
            Settings_.SetCloseToTray(On);
        });
    });
    menu.addSeparator();
    QuitItem_ = menu.AddItem(QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QObject::connect(QuitItem_, &QAction::triggered, Control_.get(), Guarded([this] { Control_->Quit(); }));
}

void DesktopIntegration::AddHistory(TFormRadio &Form, const DesktopOptions &Options) {
    HistoryNotice_ = new StatusNotice(Form.StatusBar1);
    HistoryNotice_->setObjectName(QStringLiteral("HistoryNotice"));
    Form.StatusBar1->addWidget(HistoryNotice_);
    HistoryNotice_->hide();
    QPointer<StatusNotice> notice(HistoryNotice_);
    HistoryStore_ = std::make_unique<HistoryStore>(
        Options.HistoryFile, Cumulo::PostToMainThread, [notice](const std::string &Text, bool StillKept) {
            qWarning("Title history: %s", Text.c_str());
            if (!notice)
                return;
            notice->ShowNotice(StillKept
                                   ? QStringLiteral("History started anew / Hist\u00F3rico recome\u00E7ado")
                                   : QStringLiteral("History not kept / Hist\u00F3rico n\u00E3o guardado"),
                               QString::fromStdString(Text));
            notice->show();
        });
    History_ = std::make_unique<TitleHistory>(*Remote_, *HistoryStore_);
    RecentTitles_ = std::make_unique<RecentTitlesMenu>(*History_, &Form);
    HistoryItem_ =
        Form.Player1->AddItem(QStringLiteral("History / Hist\u00F3rico"), QKeySequence(Qt::CTRL | Qt::Key_H));
    HistoryItem_->setObjectName(QStringLiteral("History1"));
    QObject::connect(HistoryItem_, &QAction::triggered, History_.get(),
                     Guarded([this, &Form, Ask = Options.AskHistoryFile] { ShowHistory(Form, Ask); }));
}

void DesktopIntegration::ShowHistory(TFormRadio &Form, const HistoryWindow::AskFile &Ask) {
    if (!HistoryWindow_) {
        HistoryWindow_ = new HistoryWindow(*History_, Form.Environment().Dialogs, Ask, &Form);
        HistoryWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    HistoryWindow_->show();
    HistoryWindow_->raise();
    HistoryWindow_->activateWindow();
}

void DesktopIntegration::StartOnTheBus(QDBusConnection Bus) {
    if (!Bus.isConnected()) {
        TitleNoticesItem_->setEnabled(false);
        qWarning("No session bus: the desktop's media controls and title notifications are off");
        return;
    }
    MediaInterface_ = std::make_unique<MediaPlayer2Service>(*Remote_, *Control_, Bus);
    if (!MediaInterface_->Register()) {
        qWarning("The desktop's media controls are off: %s", qPrintable(MediaInterface_->Error()));
        MediaInterface_.reset();
    }
    Notices_ = std::make_unique<TitleNotices>(*Remote_, Bus);
    Notices_->SetEnabled(Settings_.TitleNotices());
    TitleNoticesItem_->setChecked(Notices_->Enabled());
    QObject::connect(TitleNoticesItem_, &QAction::toggled, Notices_.get(), [this](bool On) {
        RunHandler([&] {
            Notices_->SetEnabled(On);
            Settings_.SetTitleNotices(On);
        });
    });
}

void DesktopIntegration::LeaveTheBus() {
    MediaInterface_.reset();
}

void DesktopIntegration::KeepVolume() {
    // The fade's and the rise's levels are the timers', not the user's choice.
    if (!Sleep_->Fading() && !Alarm_->Waking().Rising())
        Settings_.SetVolume(Remote_->Volume());
}

} // namespace Tunewell
