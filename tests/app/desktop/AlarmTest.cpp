// The alarm on the main window: its dialog, its panel, ringing with a rising volume, the fallback
// sound when the station does not play, and the sleep timer beside it.
#include "DesktopFixture.h"
#include "Player/Wmp.h"
#include "app/core/PlayerSettings.h"
#include "app/core/SleepTimer.h"
#include "app/desktop/AlarmDialog.h"
#include "app/desktop/PlayerAlarm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <QUrl>

namespace Tunewell::Testing {
namespace {

using namespace std::chrono_literals;

const QTimeZone kBerlin("Europe/Berlin");

class AlarmTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        PlayerSettings().SetAlarm({});
        Wall = Instant(QDateTime(QDate(2026, 12, 11), QTime(6, 0), kBerlin));
        Options.Alarm.Now = [this] { return Wall; };
        Options.Alarm.Zone = kBerlin;
        Options.Alarm.Tick = 1ms;
        Options.Alarm.RiseNow = [this] { return Steady; };
        Options.Alarm.RiseTick = 1ms;
        Options.Alarm.FallbackSound = QString::fromUtf8(TUNEWELL_DEMO_CLIP);
        Options.SleepClock = [this] { return Steady; };
        Options.SleepTick = 1ms;
        Options.Alarm.Ask = [this](QWidget *, const AlarmChoice &Initial,
                                   const std::vector<AlarmStation> &Stations) {
            Offered = Stations;
            AskedWith = Initial;
            return Answer;
        };
    }
    static std::chrono::system_clock::time_point Instant(const QDateTime &Moment) {
        return std::chrono::system_clock::time_point(std::chrono::milliseconds(Moment.toMSecsSinceEpoch()));
    }
    void Pass(std::chrono::milliseconds Wait = 20ms) { QTest::qWait(static_cast<int>(Wait.count())); }
    QLabel *Panel() const { return Form->StatusBar1->findChild<QLabel *>("AlarmPanel"); }
    static AlarmChoice At730(const char *Serie, int Volume, unsigned Days = 0) {
        AlarmChoice choice;
        choice.On = true;
        choice.At = QTime(7, 30);
        choice.Days = Days;
        choice.Serie = QString::fromLatin1(Serie);
        choice.StationName = QStringLiteral("Charlie");
        choice.Volume = Volume;
        return choice;
    }

    std::chrono::system_clock::time_point Wall;
    SleepCountdown::Clock::time_point Steady{};
    std::optional<AlarmChoice> Answer;
    AlarmChoice AskedWith;
    std::vector<AlarmStation> Offered;
};

TEST_F(AlarmTest, TheDialogOffersTheCurrentStationTheFavouritesAndTheLastAndTheChoiceIsKeptAndShown) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    ASSERT_TRUE(Panel());
    EXPECT_TRUE(Panel()->isHidden());
    // Bravo plays (the last station), Charlie is the favourite.
    Answer = At730("20", 70, 0x1f);
    Activate();
    QTest::keyClick(form.DBGrid1, Qt::Key_A, Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier));
    QStringList offered;
    for (const AlarmStation &station : Offered)
        offered << station.Name + " " + station.Why;
    EXPECT_EQ(offered, (QStringList{"Bravo current / atual", "Alpha favourite / favorita",
                                    "Charlie favourite / favorita"}));
    EXPECT_EQ(AskedWith.Serie, "15") << "the station playing is offered first";
    EXPECT_FALSE(Panel()->isHidden());
    EXPECT_EQ(Panel()->text(), "Alarm / Alarme 07:30");
    EXPECT_EQ(PlayerSettings().Alarm(), *Answer);

    // The next run finds it set; "Turn off" ends it.
    Restart(NoBus());
    EXPECT_EQ(Panel()->text(), "Alarm / Alarme 07:30");
    Answer->On = false;
    Desktop->Alarm().Item()->trigger();
    EXPECT_TRUE(Panel()->isHidden());
    EXPECT_FALSE(PlayerSettings().Alarm().On);

    // The dialog itself: what it is given, what it gives back.
    AlarmDialog dialog(At730("20", 70, 1u << 6), Offered, nullptr);
    EXPECT_EQ(dialog.TimeField->time(), QTime(7, 30));
    EXPECT_TRUE(dialog.DayBoxes[6]->isChecked());
    EXPECT_FALSE(dialog.DayBoxes[0]->isChecked());
    EXPECT_EQ(dialog.StationField->currentText(), "Charlie (favourite / favorita)");
    dialog.DayBoxes[0]->setChecked(true);
    dialog.VolumeField->setValue(30);
    const AlarmChoice chosen = dialog.Choice(true);
    EXPECT_EQ(chosen.Days, 1u | 1u << 6);
    EXPECT_EQ(chosen.Serie, "20");
    EXPECT_EQ(chosen.StationName, "Charlie");
    EXPECT_EQ(chosen.Volume, 30);
}

TEST_F(AlarmTest, ADeadStationGivesWayToTheFallbackSoundWhoseVolumeRisesOverThirtySeconds) {
    PlayerSettings().SetAlarm(At730("20", 60));
    StartDesktop(NoBus());
    EXPECT_EQ(Panel()->text(), "Alarm / Alarme 07:30");
    Wmp->setVolume(35);
    Wmp->controls().stop();

    Wall = Instant(QDateTime(QDate(2026, 12, 11), QTime(7, 30), kBerlin));
    Pass();
    // Charlie's address answers nothing: it is being tried, from silence.
    EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/seven");
    EXPECT_EQ(Form->LabelNome->text(), "Charlie");
    EXPECT_EQ(Wmp->volume(), 0);
    EXPECT_TRUE(Panel()->isHidden()) << "once: done when it rang";
    EXPECT_FALSE(PlayerSettings().Alarm().On);

    Steady += AlarmWaking::PlayingBound;
    Pass();
    const QString clip = QUrl::fromLocalFile(QString::fromUtf8(TUNEWELL_DEMO_CLIP)).toString();
    EXPECT_EQ(Wmp->URL(), clip);
    // The window shows the sound that plays, and why, not the dead station.
    const QString why =
        QStringLiteral("Alarm sound: Charlie did not play / Som do despertador: Charlie n\u00E3o tocou");
    EXPECT_EQ(Form->LabelNome->text(), QStringLiteral("Alarm sound / Som do despertador"));
    EXPECT_EQ(Form->LabelStyle->text(), "");
    EXPECT_EQ(Panel()->text(), why);
    EXPECT_FALSE(Panel()->isHidden());
    EXPECT_EQ(Desktop->Alarm().Note(), why) << "the tray's tooltip says it too";
    ASSERT_TRUE(QTest::qWaitFor([&] { return Wmp->playState() == Player::PlaybackState::Playing; }, 10000))
        << Wmp->statusText().toStdString();
    Pass();
    EXPECT_EQ(Wmp->volume(), 0) << "the rise starts when the sound does";
    Steady += 15s;
    Pass();
    EXPECT_EQ(Wmp->volume(), 30);
    EXPECT_TRUE(Desktop->Alarm().Waking().Rising());
    Steady += 15s;
    Pass();
    EXPECT_EQ(Wmp->volume(), 60);
    EXPECT_FALSE(Desktop->Alarm().Waking().Waking());
    EXPECT_EQ(Panel()->text(), why) << "the sound plays on after its rise";

    // Another station: the notice goes.
    ClickCell(0, 1);
    EXPECT_NE(Wmp->URL(), clip);
    EXPECT_NE(Form->LabelNome->text(), QStringLiteral("Alarm sound / Som do despertador"));
    EXPECT_TRUE(Panel()->isHidden());
    EXPECT_EQ(Desktop->Alarm().Note(), "");
}

TEST_F(AlarmTest, TheAlarmEndsASleepTimerAndAVolumeTheListenerSetsEndsTheRise) {
    PlayerSettings().SetAlarm(At730("20", 80, AlarmChoice::EveryDay));
    StartDesktop(NoBus());
    Wmp->setVolume(50);
    Desktop->Sleep().Start(std::chrono::minutes(1));
    Steady += 45s;
    Pass();
    ASSERT_TRUE(Desktop->Sleep().Fading());

    Wall = Instant(QDateTime(QDate(2026, 12, 11), QTime(7, 30), kBerlin));
    Pass();
    EXPECT_FALSE(Desktop->Sleep().Running()) << "it would have stopped the alarm";
    EXPECT_EQ(Wmp->volume(), 0);
    EXPECT_EQ(Panel()->text(), "Alarm / Alarme 07:30") << "every day: set for tomorrow";
    EXPECT_EQ(Desktop->Alarm().Clock().Next(), QDateTime(QDate(2026, 12, 12), QTime(7, 30), kBerlin));

    Steady += AlarmWaking::PlayingBound;
    ASSERT_TRUE(QTest::qWaitFor([&] { return Wmp->playState() == Player::PlaybackState::Playing; }, 10000));
    // The rise starts at the alarm's next tick after the sound did, before the clock moves on.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Desktop->Alarm().Waking().Rising(); }, 10000));
    Steady += 6s;
    Pass();
    EXPECT_EQ(Wmp->volume(), 16);
    Wmp->setVolume(40);
    Steady += 6s;
    Pass();
    EXPECT_EQ(Wmp->volume(), 40) << "the listener's level stays";
    EXPECT_FALSE(Desktop->Alarm().Waking().Rising());
    Steady += 60s;
    Pass();
    EXPECT_EQ(Wmp->volume(), 40);
}

TEST_F(AlarmTest, AMachineThatSleptThroughTheTimeSaysSoAndWaitsForTheNext) {
    PlayerSettings().SetAlarm(At730("20", 80, AlarmChoice::EveryDay));
    StartDesktop(NoBus());
    const QString before = Wmp->URL();
    Wall = Instant(QDateTime(QDate(2026, 12, 11), QTime(9, 0), kBerlin));
    Pass();
    EXPECT_EQ(Wmp->URL(), before) << "nothing rang two hours late";
    EXPECT_EQ(Panel()->text(), "Alarm 07:30 missed / Despertador 07:30 perdido");
    EXPECT_EQ(Desktop->Alarm().Clock().Next(), QDateTime(QDate(2026, 12, 12), QTime(7, 30), kBerlin));
}

} // namespace
} // namespace Tunewell::Testing
