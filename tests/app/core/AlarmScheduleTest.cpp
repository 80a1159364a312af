#include "app/core/AlarmSchedule.h"

#include "app/core/AlarmChoice.h"
#include "app/core/AlarmClock.h"
#include "app/core/AlarmRise.h"

#include <QCoreApplication>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace Tunewell;
using namespace std::chrono_literals;

namespace {

const QTimeZone kBerlin("Europe/Berlin");

QDateTime Berlin(int Month, int Day, int Hour, int Minute) {
    return QDateTime(QDate(2026, Month, Day), QTime(Hour, Minute), kBerlin);
}

AlarmChoice Ringing(int Hour, int Minute, unsigned Days = 0) {
    AlarmChoice choice;
    choice.On = true;
    choice.At = QTime(Hour, Minute);
    choice.Days = Days;
    return choice;
}

constexpr unsigned kWorkdays = 0x1f;

} // namespace

TEST(AlarmSchedule, TheNextTimeOnOneOfItsDaysAcrossMidnightWeeksAndClockChanges) {
    // 2026-03-29 and 2026-10-25 are Sundays on which Berlin's clock moves; 2026-12-11 is a Friday.
    struct Case {
        const char *Name;
        AlarmChoice Choice;
        QDateTime After;
        QDateTime Expected;
    } cases[] = {
        {"later today", Ringing(7, 30), Berlin(12, 11, 6, 0), Berlin(12, 11, 7, 30)},
        {"passed today: tomorrow, across midnight", Ringing(7, 30), Berlin(12, 11, 23, 59),
         Berlin(12, 12, 7, 30)},
        {"at the very minute: the next one", Ringing(7, 30), Berlin(12, 11, 7, 30), Berlin(12, 12, 7, 30)},
        {"a minute after midnight", Ringing(0, 1), Berlin(12, 11, 23, 30), Berlin(12, 12, 0, 1)},
        {"workdays from Friday evening: Monday", Ringing(7, 30, kWorkdays), Berlin(12, 11, 20, 0),
         Berlin(12, 14, 7, 30)},
        {"Fridays only, passed: a week later", Ringing(7, 30, 1u << 4), Berlin(12, 11, 8, 0),
         Berlin(12, 18, 7, 30)},
        {"Sundays, on a Saturday night", Ringing(9, 0, 1u << 6), Berlin(12, 12, 22, 0), Berlin(12, 13, 9, 0)},
        {"summer time starts: 07:30 is an hour nearer", Ringing(7, 30), Berlin(3, 28, 23, 0),
         QDateTime(QDate(2026, 3, 29), QTime(5, 30), QTimeZone::utc())},
        {"summer time ends: 07:30 is an hour further", Ringing(7, 30), Berlin(10, 24, 23, 0),
         QDateTime(QDate(2026, 10, 25), QTime(6, 30), QTimeZone::utc())},
        {"a time the clock skips rings when the clock has moved on", Ringing(2, 30), Berlin(3, 28, 23, 0),
         QDateTime(QDate(2026, 3, 29), QTime(1, 30), QTimeZone::utc())},
        {"a time the clock passes twice: the first", Ringing(2, 30), Berlin(10, 24, 23, 0),
         QDateTime(QDate(2026, 10, 25), QTime(0, 30), QTimeZone::utc())},
        {"and not again an hour later", Ringing(2, 30),
         QDateTime(QDate(2026, 10, 25), QTime(0, 30, 1), QTimeZone::utc()), Berlin(10, 26, 2, 30)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NextAlarm(c.Choice, c.After, kBerlin).toUTC(), c.Expected.toUTC())
            << c.Name << ": " << NextAlarm(c.Choice, c.After, kBerlin).toString(Qt::ISODate).toStdString();
}

TEST(AlarmRise, RisesFromSilenceToTheLevelOverThirtySeconds) {
    const AlarmRise::Clock::time_point start{};
    AlarmRise rise;
    rise.Start(start, 60);
    struct Moment {
        std::chrono::milliseconds At;
        int Current;
        std::optional<int> Set;
    } moments[] = {
        {0ms, 0, std::nullopt}, {15s, 0, 30},  {15s + 100ms, 30, std::nullopt},
        {29s, 30, 58},          {30s, 58, 60}, {31s, 60, std::nullopt},
    };
    for (const auto &m : moments)
        EXPECT_EQ(rise.Advance(start + m.At, m.Current), m.Set) << m.At.count() << " ms";
    EXPECT_FALSE(rise.Rising());
}

TEST(AlarmRise, AVolumeTheListenerSetsEndsTheRiseAndStays) {
    const AlarmRise::Clock::time_point start{};
    AlarmRise rise;
    rise.Start(start, 80);
    EXPECT_EQ(rise.Advance(start + 3s, 0), 8);
    EXPECT_EQ(rise.Advance(start + 6s, 25), std::nullopt) << "the listener turned it up";
    EXPECT_FALSE(rise.Rising());
    EXPECT_EQ(rise.Advance(start + 9s, 25), std::nullopt);
}

TEST(AlarmClock, RingsAtItsTimeMovesOnAndSaysWhenASleepingMachineMissedIt) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    std::chrono::system_clock::time_point now{};
    const auto at = [&](const QDateTime &Moment) {
        now = std::chrono::system_clock::time_point(std::chrono::milliseconds(Moment.toMSecsSinceEpoch()));
    };
    at(Berlin(12, 11, 6, 0));
    AlarmClock clock([&] { return now; }, kBerlin, 1ms);
    int rang = 0;
    QList<QDateTime> missed;
    QObject::connect(&clock, &AlarmClock::Ringing, [&] { ++rang; });
    QObject::connect(&clock, &AlarmClock::Missed, [&](const QDateTime &When) { missed << When; });
    const auto tick = [&] {
        const auto end = std::chrono::steady_clock::now() + 20ms;
        while (std::chrono::steady_clock::now() < end)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };

    clock.Set(Ringing(7, 30, kWorkdays));
    at(Berlin(12, 11, 7, 29));
    tick();
    EXPECT_EQ(rang, 0);
    at(Berlin(12, 11, 7, 30).addSecs(1));
    tick();
    EXPECT_EQ(rang, 1);
    EXPECT_EQ(clock.Next(), Berlin(12, 14, 7, 30)) << "Monday next";

    // Asleep from Sunday night until 07:34 on Monday: a little late still rings.
    at(Berlin(12, 14, 7, 34));
    tick();
    EXPECT_EQ(rang, 2);
    EXPECT_TRUE(missed.isEmpty());
    // Asleep until 08:10 on Tuesday: missed, said so, and Wednesday is next.
    at(Berlin(12, 15, 8, 10));
    tick();
    EXPECT_EQ(rang, 2);
    ASSERT_EQ(missed.size(), 1);
    EXPECT_EQ(missed[0], Berlin(12, 15, 7, 30));
    EXPECT_EQ(clock.Next(), Berlin(12, 16, 7, 30));

    // Once: rings, then is off.
    clock.Set(Ringing(9, 0));
    EXPECT_EQ(clock.Next(), Berlin(12, 15, 9, 0));
    at(Berlin(12, 15, 9, 0));
    tick();
    EXPECT_EQ(rang, 3);
    EXPECT_FALSE(clock.Choice().On);
    EXPECT_FALSE(clock.Next().isValid());
    at(Berlin(12, 16, 9, 0));
    tick();
    EXPECT_EQ(rang, 3);
}
