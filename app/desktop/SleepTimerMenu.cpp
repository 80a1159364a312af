#include "app/desktop/SleepTimerMenu.h"

#include "app/core/PlayerSettings.h"
#include "app/core/SleepTimer.h"
#include "app/ui/PlayerMenu.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QInputDialog>
#include <QKeySequence>
#include <array>

namespace Tunewell {

namespace {
std::optional<int> AskWithDialog(QWidget *Parent, int Initial) {
    bool ok = false;
    const int minutes = QInputDialog::getInt(Parent, QStringLiteral("Sleep timer"),
                                             QStringLiteral("Minutes until playback stops:"), Initial, 1,
                                             PlayerSettings::LongestSleepMinutes, 1, &ok);
    return ok ? std::optional<int>(minutes) : std::nullopt;
}
} // namespace

SleepTimerMenu::SleepTimerMenu(PlayerMenu &Parent, QWidget &Window, SleepTimer &Timer,
                               const PlayerSettings &Settings, AskMinutes Ask)
    : Window_(Window), Timer_(Timer), Settings_(Settings), Ask_(Ask ? std::move(Ask) : AskWithDialog) {
    Menu_ = Parent.AddSubmenu(QStringLiteral("Sleep timer"));
    Menu_->setObjectName(QStringLiteral("SleepTimer1"));
    struct Preset {
        int Minutes;
        Qt::Key Key;
    };
    for (const auto &preset : std::array<Preset, 5>{
             {{15, Qt::Key_1}, {30, Qt::Key_2}, {45, Qt::Key_3}, {60, Qt::Key_4}, {90, Qt::Key_5}}}) {
        QAction *item = Menu_->AddItem(QStringLiteral("%1 minutes").arg(preset.Minutes),
                                       QKeySequence(Qt::CTRL | preset.Key));
        connect(item, &QAction::triggered, this,
                Guarded([this, minutes = preset.Minutes] { Start(minutes); }));
    }
    QAction *typed =
        Menu_->AddItem(QStringLiteral("Other duration\u2026"), QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(typed, &QAction::triggered, this, Guarded([this] {
                if (const auto minutes = Ask_(&Window_, Settings_.SleepMinutes()))
                    Start(*minutes);
            }));
    Menu_->addSeparator();
    Cancel_ = Menu_->AddItem(QStringLiteral("Cancel sleep timer"), QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(Cancel_, &QAction::triggered, &Timer_, &SleepTimer::Cancel);
    connect(&Timer_, &SleepTimer::Changed, this, &SleepTimerMenu::Follow);
    Follow();
}

void SleepTimerMenu::Start(int Minutes) {
    Timer_.Start(std::chrono::minutes(Minutes));
    Settings_.SetSleepMinutes(Minutes);
}

void SleepTimerMenu::Follow() {
    Cancel_->setEnabled(Timer_.Running());
}

} // namespace Tunewell
