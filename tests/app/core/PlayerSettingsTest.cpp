#include "app/core/PlayerSettings.h"

#include "shared/core/Registro.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace Tunewell;

namespace {

class PlayerSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Home.isValid());
        setenv("XDG_CONFIG_HOME", Home.path().toUtf8().constData(), 1);
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
    static void Store(const char *Name, const char *Text) {
        GravarRegistro("Firebase", "Player", Name, Text);
    }
    QTemporaryDir Home;
    PlayerSettings Settings;
};

} // namespace

TEST_F(PlayerSettingsTest, DefaultsWithoutAStoredChoice) {
    EXPECT_EQ(Settings.Volume(), std::nullopt);
    EXPECT_FALSE(Settings.TitleNotices());
    EXPECT_EQ(Settings.SleepMinutes(), 30);
    EXPECT_FALSE(Settings.CloseToTray());
}

TEST_F(PlayerSettingsTest, ChoicesSurviveUnderTheirOwnNamesBesideTheProfile) {
    GravarRegistro("Firebase", "", "Registrado", "-Prof1");
    Settings.SetVolume(35);
    Settings.SetTitleNotices(true);
    Settings.SetSleepMinutes(45);
    Settings.SetCloseToTray(true);
    const PlayerSettings later;
    EXPECT_EQ(later.Volume(), 35);
    EXPECT_TRUE(later.TitleNotices());
    EXPECT_EQ(later.SleepMinutes(), 45);
    EXPECT_TRUE(later.CloseToTray());
    EXPECT_EQ(LerRegistro("Firebase", "Player", "Volume"), "35");
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), "-Prof1");
    later.SetTitleNotices(false);
    EXPECT_FALSE(Settings.TitleNotices());
}

TEST_F(PlayerSettingsTest, AStoredValueOutOfItsRangeGivesTheDefault) {
    struct Case {
        const char *Volume;
        std::optional<int> Expected;
    };
    for (const auto &c : {Case{"0", 0}, Case{"100", 100}, Case{" 42 ", 42}, Case{"101", std::nullopt},
                          Case{"-1", std::nullopt}, Case{"loud", std::nullopt}, Case{"", std::nullopt}}) {
        Store("Volume", c.Volume);
        EXPECT_EQ(Settings.Volume(), c.Expected) << c.Volume;
    }
    for (const auto &minutes : {"0", "1441", "x"}) {
        Store("SleepMinutes", minutes);
        EXPECT_EQ(Settings.SleepMinutes(), 30) << minutes;
    }
    Store("TitleNotices", "2");
    EXPECT_FALSE(Settings.TitleNotices());
}

TEST_F(PlayerSettingsTest, ADamagedStoreGivesTheDefaults) {
    // A list where a text belongs: the store cannot give it as text.
    QFile file(Home.path() + "/Firebase.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Player]\nVolume=1, 2\nTitleNotices=@ByteArray(1)\n");
    file.close();
    EXPECT_EQ(Settings.Volume(), std::nullopt);
    EXPECT_FALSE(Settings.TitleNotices());
}

TEST_F(PlayerSettingsTest, AChoiceThatCannotBeWrittenIsNotAnError) {
    QFile blocker(Home.path() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setenv("XDG_CONFIG_HOME", (Home.path() + "/blocker/config").toUtf8().constData(), 1);
    EXPECT_NO_THROW(Settings.SetVolume(20));
    EXPECT_EQ(Settings.Volume(), std::nullopt);
}

TEST_F(PlayerSettingsTest, TheAlarmIsKeptBesideTheOtherChoicesAndDamagedPartsTakeTheirDefaults) {
    EXPECT_EQ(Settings.Alarm(), AlarmChoice{});
    AlarmChoice choice;
    choice.On = true;
    choice.At = QTime(6, 45);
    choice.Days = 0x1f | 1u << 6;
    choice.Serie = "20";
    choice.StationName = "Rádio Charlie";
    choice.Volume = 35;
    Settings.SetAlarm(choice);
    EXPECT_EQ(PlayerSettings().Alarm(), choice);
    EXPECT_EQ(LerRegistro("Firebase", "Player", "AlarmTime"), "06:45");
    EXPECT_EQ(LerRegistro("Firebase", "Player", "AlarmDays"), "123457");

    Store("AlarmTime", "25:99");
    Store("AlarmDays", "9x3");
    Store("AlarmVolume", "loud");
    const AlarmChoice damaged = PlayerSettings().Alarm();
    EXPECT_EQ(damaged.At, QTime(7, 0));
    EXPECT_EQ(damaged.Days, 1u << 2);
    EXPECT_EQ(damaged.Volume, 50);
    EXPECT_TRUE(damaged.On);
}
