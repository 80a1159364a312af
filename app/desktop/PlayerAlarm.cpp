#include "app/desktop/PlayerAlarm.h"

#include "app/core/PlayerSettings.h"
#include "app/core/StationTable.h"
#include "app/desktop/PlayerRemote.h"
#include "app/ui/FormRadio.h"
#include "app/ui/PlayerMenu.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QStatusBar>

namespace Tunewell {

namespace {
QString ClockText(const QTime &At) {
    return At.toString(QStringLiteral("HH:mm"));
}
} // namespace

PlayerAlarm::PlayerAlarm(TFormRadio &Form, PlayerRemote &Remote, SleepTimer &Sleep,
                         std::function<void(const QString &Url)> PlayAddress, const PlayerSettings &Settings,
                         const Options &Choices)
    : Form_(Form), Remote_(Remote), Settings_(Settings),
      Ask_(Choices.Ask ? Choices.Ask : &AlarmDialog::AskWithDialog), Zone_(Choices.Zone),
      Clock_(Choices.Now, Choices.Zone, Choices.Tick),
      Waking_(Remote, Sleep, std::move(PlayAddress),
              Choices.FallbackSound ? *Choices.FallbackSound : AlarmWaking::DefaultFallbackSound(),
              Choices.RiseNow, Choices.RiseTick) {
    Item_ = Form.Player1->AddItem(QStringLiteral("Alarm\u2026 / Despertador\u2026"),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    Item_->setObjectName(QStringLiteral("Alarm1"));
    connect(Item_, &QAction::triggered, this, Guarded([this] { Ask(); }));

    Panel_ = new QLabel(Form.StatusBar1);
    Panel_->setObjectName(QStringLiteral("AlarmPanel"));
    Form.StatusBar1->addPermanentWidget(Panel_);

    connect(&Clock_, &AlarmClock::Ringing, &Waking_, [this](const AlarmChoice &Choice) {
        RunHandler([&] {
            Missed_.clear();
            Follow();
            Waking_.Wake(Choice);
        });
    });
    connect(&Waking_, &AlarmWaking::FellBack, this, &PlayerAlarm::ShowFallback);
    connect(&Remote_, &PlayerRemote::StationChanged, this, &PlayerAlarm::FollowPlayer);
    connect(&Clock_, &AlarmClock::Missed, this, &PlayerAlarm::Miss);
    connect(&Clock_, &AlarmClock::Changed, this, &PlayerAlarm::Follow);
    Kept_ = Settings_.Alarm();
    Clock_.Set(Kept_);
}

QString PlayerAlarm::Note() const {
    if (!FallingBack_.isEmpty())
        return FallingBack_;
    if (!Missed_.isEmpty())
        return Missed_;
    if (!Clock_.Next().isValid())
        return {};
    return QStringLiteral("Alarm / Alarme %1").arg(ClockText(Clock_.Choice().At));
}

void PlayerAlarm::Follow() {
    // A choice without days turns itself off once it rang: that is kept too.
    if (Kept_ != Clock_.Choice()) {
        Kept_ = Clock_.Choice();
        Settings_.SetAlarm(Kept_);
    }
    const QString note = Note();
    Panel_->setVisible(!note.isEmpty());
    Panel_->setText(note);
    Panel_->setToolTip(Clock_.Next().isValid()
                           ? QStringLiteral("%1: %2").arg(Clock_.Choice().StationName,
                                                          Clock_.Next().toTimeZone(Zone_).toString(
                                                              QStringLiteral("ddd yyyy-MM-dd HH:mm")))
                           : QString());
    emit NoteChanged();
}

void PlayerAlarm::ShowFallback(const QString &Station) {
    const QString station = Station.isEmpty() ? QStringLiteral("?") : Station;
    FallingBack_ =
        QStringLiteral("Alarm sound: %1 did not play / Som do despertador: %1 n\u00E3o tocou").arg(station);
    Form_.ShowSoundLabels(QStringLiteral("Alarm sound / Som do despertador"));
    Follow();
}

void PlayerAlarm::FollowPlayer() {
    if (FallingBack_.isEmpty() || Remote_.Station().Url == Waking_.FallbackUrl())
        return;
    FallingBack_.clear();
    Follow();
}

void PlayerAlarm::Miss(const QDateTime &When) {
    const QString at = When.toTimeZone(Zone_).toString(QStringLiteral("HH:mm"));
    qWarning("Alarm: the computer was asleep at %s; the alarm did not ring", qPrintable(at));
    Missed_ = QStringLiteral("Alarm %1 missed / Despertador %1 perdido").arg(at);
    Follow();
}

std::vector<AlarmStation> PlayerAlarm::Stations() const {
    std::vector<AlarmStation> stations;
    const auto offer = [&stations](const QString &Serie, const QString &Name, const QString &Why) {
        if (Serie.isEmpty())
            return;
        for (const AlarmStation &station : stations)
            if (station.Serie == Serie)
                return;
        stations.push_back({Serie, Name, Why});
    };
    const RemoteStation current = Remote_.Station();
    offer(current.Serie, current.Name, QStringLiteral("current / atual"));
    for (const RemoteStation &favourite : Remote_.Favourites())
        offer(favourite.Serie, favourite.Name, QStringLiteral("favourite / favorita"));
    const TStationTable &table = Form_.cdsRadios;
    for (int row = 0; row < table.RowCount(); ++row)
        if (!Form_.last_radio.empty() && table.DisplayText(row, fpSerie) == Form_.last_radio)
            offer(QString::fromStdString(Form_.last_radio),
                  QString::fromStdString(table.DisplayText(row, fpNome)),
                  QStringLiteral("last / \u00FAltima"));
    return stations;
}

void PlayerAlarm::Ask() {
    AlarmChoice initial = Clock_.Choice();
    if (initial.Serie.isEmpty())
        initial.Serie = Remote_.Station().Serie;
    if (const auto chosen = Ask_(&Form_, initial, Stations())) {
        Missed_.clear();
        Clock_.Set(*chosen);
    }
}

} // namespace Tunewell
