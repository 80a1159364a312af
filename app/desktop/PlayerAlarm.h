#pragma once

#include "app/core/AlarmClock.h"
#include "app/desktop/AlarmDialog.h"
#include "app/desktop/AlarmWaking.h"

#include <QObject>
#include <optional>

class QAction;
class QLabel;

namespace Tunewell {

class PlayerRemote;
class PlayerSettings;
class SleepTimer;
class TFormRadio;

// The alarm as the program offers it: Player → Alarm… asks for the choice and keeps it in the
// settings store; a panel of the status bar shows it while set ("Alarm / Alarme 07:30"), or says
// it was missed; when it rings, AlarmWaking plays the station.
class PlayerAlarm : public QObject {
    Q_OBJECT
public:
    // What the program binds; tests replace the clocks, the ticks, the sound and the dialog.
    struct Options {
        AlarmClock::Clock Now = &std::chrono::system_clock::now;
        QTimeZone Zone = QTimeZone::systemTimeZone();
        std::chrono::milliseconds Tick{1000};
        AlarmWaking::Clock RiseNow = &AlarmRise::Clock::now;
        std::chrono::milliseconds RiseTick{200};
        // None: the demo clip where the program finds it.
        std::optional<QString> FallbackSound;
        AlarmDialog::Ask Ask;
    };

    PlayerAlarm(TFormRadio &Form, PlayerRemote &Remote, SleepTimer &Sleep,
                std::function<void(const QString &Url)> PlayAddress, const PlayerSettings &Settings,
                const Options &Choices);

    AlarmClock &Clock() { return Clock_; }
    AlarmWaking &Waking() { return Waking_; }
    QAction *Item() const { return Item_; }
    QLabel *Panel() const { return Panel_; }
    // What the status bar's panel (and the tray) says: while the fallback sound plays, that it
    // plays and why; else the alarm set or missed; empty when there is none.
    QString Note() const;

signals:
    void NoteChanged();

private:
    std::vector<AlarmStation> Stations() const;
    void Ask();
    void Follow();
    void Miss(const QDateTime &When);
    // The fallback sound plays in place of Station: the window says so.
    void ShowFallback(const QString &Station);
    // The fallback sound no longer plays: its notice goes.
    void FollowPlayer();

    TFormRadio &Form_;
    PlayerRemote &Remote_;
    const PlayerSettings &Settings_;
    AlarmDialog::Ask Ask_;
    // The clock's zone, in which its times are shown.
    QTimeZone Zone_;
    AlarmClock Clock_;
    AlarmWaking Waking_;
    QAction *Item_ = nullptr;
    QLabel *Panel_ = nullptr;
    QString Missed_;
    // Why the fallback sound plays, while it does.
    QString FallingBack_;
    // The choice as the settings store holds it.
    AlarmChoice Kept_;
};

} // namespace Tunewell
