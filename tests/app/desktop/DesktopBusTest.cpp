// The media interface and the title notices on a private session bus, driven by real D-Bus
// clients, against the local cloud and real streams from the demo radio.
#include "DemoRadio.h"
#include "DesktopFixture.h"
#include "FakeNotifications.h"
#include "LocalCloud.h"
#include "MediaPlayer2Client.h"
#include "Player/Wmp.h"
#include "StillPlayerRemote.h"
#include "app/core/StationTable.h"
#include "app/desktop/MainWindowControl.h"
#include "app/desktop/MediaPlayer2Service.h"
#include "app/desktop/PlayerCommands.h"
#include "app/desktop/PlayerRemote.h"
#include "app/desktop/PlayerTrayIcon.h"
#include "app/desktop/SingleInstance.h"
#include "app/desktop/TitleNotices.h"
#include "app/ui/PlayerMenu.h"
#include "app/ui/StationFilterBar.h"
#include "shared/core/WindowCloudCumuloClients.h"

#include <QAction>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

namespace Tunewell::Testing {
namespace {

using nlohmann::json;
using Client = MediaPlayer2Client;
constexpr int kPatience = 20000;

// The demo clip under three names: three stations, each its own stream.
std::filesystem::path ThreeStreams(const QTemporaryDir &Folder) {
    const std::filesystem::path folder = Folder.path().toStdString();
    for (const char *name : {"one.mp3", "two.mp3", "three.mp3"})
        std::filesystem::copy_file(TunewellTesting::LocalCloud::demoClip(), folder / name);
    return folder;
}

class DesktopBusTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session (ctest does)";
        const auto station = [this](const char *Num, const char *File, const char *Name, const char *Serie) {
            return json{{"num", Num},       {"url", Radio.url(File)}, {"nome", Name},
                        {"estilo", "Demo"}, {"localizacao", "BR"},    {"qualidade", "128k"},
                        {"favorito", "2"},  {"serie", Serie}};
        };
        Cloud.seed("ESTACOES", json{{"-Station01aaa", station("1", "one.mp3", "Rock & Demo", "12")},
                                    {"-Station02bbb", station("2", "two.mp3", "Bravo Demo", "15")},
                                    {"-Station03ccc", station("3", "three.mp3", "Charlie Demo", "20")}});
        Cloud.seed("VERSOES", json{{"Software", "2.2"}, {"Url", "http://127.0.0.1:1/download"}});
        Cloud.seed(std::string("CADASTRADO/") + kProfile,
                   json{{"LAST", {{"Serie", "15"}}}, {"FAVORITOS", {{"11111", "2"}}}});
        Cloud.exportEmulatorHosts();
        Clients = std::make_shared<WindowCloudCumuloClients>();
        SetProfile(kProfile);
    }

    TFormRadio &Start() {
        auto &form = StartDesktop(QDBusConnection::sessionBus());
        EXPECT_EQ(Warnings, QStringList());
        return form;
    }
    ::testing::AssertionResult Playing() {
        if (QTest::qWaitFor([this] { return Wmp->playState() == Player::PlaybackState::Playing; }, kPatience))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << Wmp->URL().toStdString() << ": " << Wmp->statusText().toStdString();
    }
    bool TitleSent() {
        return QTest::qWaitFor([this] { return !Wmp->nowPlaying().isEmpty(); }, kPatience);
    }
    std::string Cloud_(const std::string &Path) {
        return Cloud.read(std::string("CADASTRADO/") + kProfile + Path).dump();
    }
    // Waits until Property was last announced with Value, then a little longer for a repeat.
    bool Announces(const QString &Property, const QVariant &Value) {
        const bool seen = QTest::qWaitFor(
            [&] {
                const QVariantList values = Bus.Announced(Property);
                return !values.isEmpty() && values.last() == Value;
            },
            kPatience);
        QTest::qWait(300);
        return seen;
    }
    // No value is announced twice in a row: each change once.
    void ExpectEachChangeOnce() {
        for (const char *property :
             {"PlaybackStatus", "Metadata", "Volume", "CanGoNext", "CanGoPrevious", "CanPlay", "CanPause"}) {
            const QVariantList values = Bus.Announced(QString::fromLatin1(property));
            for (int i = 1; i < values.size(); ++i)
                EXPECT_NE(values.at(i), values.at(i - 1)) << property << " announced twice in a row";
        }
    }

    TunewellTesting::LocalCloud Cloud;
    QTemporaryDir Streams;
    TunewellTesting::DemoRadio Radio{{ThreeStreams(Streams)}};
    Client Bus;
};

TEST_F(DesktopBusTest, TheDesktopFindsThePlayerAndReadsBothInterfaces) {
    Start();
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(Bus.NameOwned());
    const QVariantMap root = Bus.GetAll(Client::Root);
    EXPECT_EQ(root.value("Identity"), "Tunewell");
    EXPECT_EQ(root.value("DesktopEntry"), "tunewell");
    EXPECT_EQ(root.value("CanQuit"), true);
    EXPECT_EQ(root.value("CanRaise"), true);
    EXPECT_EQ(root.value("HasTrackList"), false);
    EXPECT_EQ(root.value("SupportedUriSchemes"), QStringList());
    EXPECT_EQ(root.value("SupportedMimeTypes"), QStringList());

    const QVariantMap player = Bus.GetAll(Client::Player);
    const std::pair<const char *, QVariant> expected[] = {
        {"PlaybackStatus", "Playing"},
        {"Rate", 1.0},
        {"MinimumRate", 1.0},
        {"MaximumRate", 1.0},
        {"Volume", 0.5},
        {"Position", 0LL},
        {"CanGoNext", true},
        {"CanGoPrevious", true},
        {"CanPlay", true},
        {"CanPause", true},
        {"CanSeek", false},
        {"CanControl", true},
    };
    for (const auto &[name, value] : expected)
        EXPECT_EQ(player.value(name), value) << name;
    const QVariantMap metadata = player.value("Metadata").toMap();
    EXPECT_EQ(metadata.value("mpris:trackid").value<QDBusObjectPath>().path(), "/org/tunewell/Station/15");
    EXPECT_EQ(metadata.value("xesam:url"), QString::fromStdString(Radio.url("two.mp3")));
    EXPECT_EQ(metadata.value("xesam:album"), "Bravo Demo");

    // The tray's tooltip follows the same station and title.
    PlayerTrayIcon tray(
        Desktop->Remote(), Desktop->Control(),
        {Desktop->Commands().PlayPause, Desktop->Commands().Stop, Form->Player1, Desktop->QuitItem()}, *Form);
    ASSERT_TRUE(TitleSent());
    EXPECT_EQ(tray.Icon().toolTip(), "Bravo Demo\n" + Wmp->nowPlaying());
}

TEST_F(DesktopBusTest, EachChangeOfStateTitleStationAndVolumeIsAnnouncedOnce) {
    Start();
    ASSERT_TRUE(TitleSent());
    // "Tunewell demo - part 1": an artist and a title.
    QVariantMap metadata = Bus.Get(Client::Player, "Metadata").toMap();
    EXPECT_EQ(metadata.value("xesam:artist"), QStringList{"Tunewell demo"});
    EXPECT_EQ(metadata.value("xesam:title"), "part 1");
    EXPECT_EQ(metadata.value("xesam:album"), "Bravo Demo");
    ASSERT_TRUE(Announces("Metadata", metadata));

    const auto statuses = [this] { return Bus.Announced("PlaybackStatus"); };
    Bus.Call(Client::Player, "Pause");
    ASSERT_TRUE(Announces("PlaybackStatus", "Paused"));
    // Connecting, buffering and playing are all "Playing" to the desktop: one announcement.
    const auto before = statuses().size();
    Bus.Call(Client::Player, "PlayPause");
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(Announces("PlaybackStatus", "Playing"));
    EXPECT_EQ(statuses().size(), before + 1);

    ASSERT_EQ(Bus.Set(Client::Player, "Volume", 0.25).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(Announces("Volume", 0.25));
    EXPECT_EQ(Wmp->volume(), 25);
    const auto volumes = Bus.Announced("Volume").size();
    Bus.Set(Client::Player, "Volume", 0.25);
    Bus.Set(Client::Player, "Volume", 1.7);
    ASSERT_TRUE(Announces("Volume", 1.0));
    EXPECT_EQ(Wmp->volume(), 100);
    EXPECT_EQ(Bus.Announced("Volume").size(), volumes + 1);
    Wmp->setVolume(40); // the user's slider
    ASSERT_TRUE(Announces("Volume", 0.4));

    // Another station: its name and address, and no title until it sends one.
    Bus.Call(Client::Player, "Next");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Bus.Announced("Metadata").last().toMap().value("xesam:album") == "Charlie Demo"; },
        kPatience));
    metadata = Bus.Announced("Metadata").last().toMap();
    EXPECT_EQ(metadata.value("xesam:title"), "Charlie Demo");
    EXPECT_FALSE(metadata.contains("xesam:artist"));
    EXPECT_EQ(metadata.value("xesam:url"), QString::fromStdString(Radio.url("three.mp3")));
    ASSERT_TRUE(TitleSent());

    Bus.Call(Client::Player, "Stop");
    ASSERT_TRUE(Announces("PlaybackStatus", "Stopped"));
    ExpectEachChangeOnce();
    for (const auto &change : Bus.Changes)
        EXPECT_EQ(change.Interface, Client::Player);
}

TEST_F(DesktopBusTest, NextAndPreviousPlayTheGridsNeighboursAsAClickDoes) {
    auto &form = Start();
    // By name, descending is not offered: by name the order is Bravo, Charlie, Rock & Demo.
    form.DBGrid1TitleClick(1);
    struct Step {
        const char *Method;
        const char *Album;
        const char *Serie;
    };
    for (const auto &s : {Step{"Next", "Charlie Demo", "20"}, Step{"Next", "Rock & Demo", "12"},
                          Step{"Next", "Bravo Demo", "15"}, Step{"Previous", "Rock & Demo", "12"}}) {
        Bus.Call(Client::Player, s.Method);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Bus.Get(Client::Player, "Metadata").toMap().value("xesam:album") == s.Album; },
            kPatience))
            << s.Method << " to " << s.Album;
        // The LAST record is a cloud step that follows the station's start.
        ASSERT_TRUE(QTest::qWaitFor([&form] { return form.CloudIdle(); }, kPatience));
        EXPECT_EQ(Cloud_("/LAST/Serie"), std::string("\"") + s.Serie + "\"");
    }
    ASSERT_TRUE(Playing());

    // A filter that leaves only the playing row: nowhere to go, and back.
    form.FilterBar1->Field()->setText("rock");
    ASSERT_TRUE(Announces("CanGoNext", false));
    EXPECT_EQ(Bus.Get(Client::Player, "CanGoPrevious"), false);
    // Paused there, Next and Previous do nothing at all.
    Bus.Call(Client::Player, "Pause");
    ASSERT_TRUE(Announces("PlaybackStatus", "Paused"));
    const auto written = Cloud.read(std::string("CADASTRADO/") + kProfile + "/LAST");
    Cloud.seed(std::string("CADASTRADO/") + kProfile + "/LAST", json{{"Serie", "untouched"}});
    for (const char *method : {"Next", "Previous"})
        Bus.Call(Client::Player, method);
    QTest::qWait(300);
    EXPECT_EQ(Bus.Get(Client::Player, "PlaybackStatus"), "Paused");
    EXPECT_EQ(Cloud_("/LAST/Serie"), "\"untouched\"");
    Cloud.seed(std::string("CADASTRADO/") + kProfile + "/LAST", written);
    form.FilterBar1->Field()->clear();
    ASSERT_TRUE(Announces("CanGoNext", true));
    ExpectEachChangeOnce();
}

TEST_F(DesktopBusTest, AReloadThatRenamesTheStationPlayingReachesTheDesktopInOneAnnouncement) {
    FakeNotifications notifications({"body", "body-markup"});
    ASSERT_TRUE(notifications.Registered());
    auto &form = Start();
    Desktop->TitleNoticesItem()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifications.Notices.empty(); }, kPatience));
    EXPECT_EQ(notifications.Notices.back().Body, "Bravo Demo");
    ASSERT_TRUE(Announces("Metadata", Bus.Get(Client::Player, "Metadata")));

    const auto before = Bus.Changes.size();
    Cloud.seed("ESTACOES/-Station02bbb/nome", "Bravo & Co");
    RunAndWaitForStartUp([&] { form.RunStartUpSequence(); });
    ASSERT_EQ(form.LabelNome->text(), "Bravo & Co");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Bus.Changes.size() > before; }, kPatience));
    QTest::qWait(300);
    // The new name in one announcement, with nothing stale or empty before it.
    const auto &renamed = Bus.Changes.at(before);
    EXPECT_EQ(renamed.Properties.keys(), QStringList{"Metadata"});
    EXPECT_EQ(renamed.Properties.value("Metadata").toMap().value("xesam:album"), "Bravo & Co");
    for (auto change = Bus.Changes.begin() + static_cast<std::ptrdiff_t>(before); change != Bus.Changes.end();
         ++change) {
        if (change->Properties.contains("Metadata")) {
            EXPECT_EQ(change->Properties.value("Metadata").toMap().value("xesam:album"), "Bravo & Co");
        }
    }
    EXPECT_EQ(Bus.Get(Client::Player, "Metadata").toMap().value("xesam:album"), "Bravo & Co");

    // The next title's notice names the station as it is now called.
    const auto told = notifications.Notices.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications.Notices.size() > told; }, kPatience));
    EXPECT_EQ(notifications.Notices.back().Body, "Bravo &amp; Co");
}

TEST_F(DesktopBusTest, ALiveStreamHasNoPositionNorSpeedAndRateZeroPausesIt) {
    Start();
    ASSERT_TRUE(Playing());
    const QVariant track = Bus.Get(Client::Player, "Metadata").toMap().value("mpris:trackid");
    EXPECT_EQ(Bus.Call(Client::Player, "Seek", {qlonglong(30000000)}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(Bus.Call(Client::Player, "SetPosition", {track, qlonglong(30000000)}).type(),
              QDBusMessage::ReplyMessage);
    EXPECT_EQ(Bus.Call(Client::Player, "OpenUri", {QStringLiteral("http://127.0.0.1:1/elsewhere")}).type(),
              QDBusMessage::ReplyMessage);
    QTest::qWait(500);
    EXPECT_EQ(Bus.Get(Client::Player, "Position"), 0LL);
    EXPECT_EQ(Bus.Get(Client::Player, "CanSeek"), false);
    EXPECT_EQ(Bus.Seeked, 0);
    // A live stream may stop to refill its buffer; to the desktop that is playing all the same.
    EXPECT_EQ(Bus.Get(Client::Player, "PlaybackStatus"), "Playing");
    EXPECT_EQ(Wmp->URL(), QString::fromStdString(Radio.url("two.mp3")));

    Bus.Set(Client::Player, "Rate", 2.0);
    QTest::qWait(300);
    EXPECT_EQ(Bus.Get(Client::Player, "PlaybackStatus"), "Playing");
    Bus.Set(Client::Player, "Rate", 0.0);
    ASSERT_TRUE(Announces("PlaybackStatus", "Paused"));
    EXPECT_EQ(Bus.Get(Client::Player, "Rate"), 1.0);
}

TEST_F(DesktopBusTest, AStationThatNeverAnswersEndsStoppedWithItsReason) {
    using namespace std::chrono_literals;
    PlayerOptions.reconnectBackoff = Cumulo::TReconnectBackoff(10ms, 40ms);
    Cloud.seed("ESTACOES/-Station04ddd", json{{"num", "4"},
                                              {"url", "http://127.0.0.1:1/dead"},
                                              {"nome", "Dead Demo"},
                                              {"estilo", "Demo"},
                                              {"localizacao", "BR"},
                                              {"qualidade", "128k"},
                                              {"favorito", "2"},
                                              {"serie", "30"}});
    auto &form = Start();
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(Announces("PlaybackStatus", "Playing"));
    form.cdsRadios.Locate("serie", "30");
    form.DBGrid1CellClick();
    ASSERT_TRUE(Announces("PlaybackStatus", "Stopped"));
    EXPECT_EQ(Wmp->playState(), Player::PlaybackState::Failed);
    EXPECT_EQ(Wmp->statusText(), QString::fromUtf8("Station unreachable / Rádio inacessível"));
    EXPECT_EQ(Bus.Announced("PlaybackStatus").last(), "Stopped");
    EXPECT_EQ(Bus.Get(Client::Player, "Metadata").toMap().value("xesam:album"), "Dead Demo");
}

TEST_F(DesktopBusTest, WithTheMediaInterfacesNameTakenTheProgramRunsAndSaysWhy) {
    const QString owner = QStringLiteral("tunewell-test-other-player");
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, owner);
    ASSERT_TRUE(other.registerService(MediaPlayer2Service::ServiceName));
    StartDesktop(QDBusConnection::sessionBus());
    EXPECT_EQ(Warnings, QStringList{"The desktop's media controls are off: the name "
                                    "org.mpris.MediaPlayer2.tunewell is owned by another program"});
    EXPECT_EQ(Desktop->MediaInterface(), nullptr);
    EXPECT_TRUE(Desktop->Notices());
    QDBusConnection::disconnectFromBus(owner);
}

TEST_F(DesktopBusTest, RaiseShowsTheWindowAndQuitClosesItWithItsRecord) {
    auto &form = Start();
    form.hide();
    Bus.Call(Client::Root, "Raise");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Cloud_("/STATUS/Status"), "\"Online\"");

    // Close to tray on: Quit closes all the same.
    Desktop->Control().SetCloseToTray(true);
    Bus.Call(Client::Root, "Quit");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Ended == 1; }, kPatience));
    EXPECT_FALSE(form.isVisible());
    // The close record follows the window's going.
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.CloudIdle(); }, kPatience));
    EXPECT_EQ(Cloud_("/STATUS/Status"), "\"Offline\"");
}

TEST_F(DesktopBusTest, TitleNoticesReplaceEachOtherAndSkipARepeatedTitle) {
    FakeNotifications notifications({"body", "body-markup"});
    ASSERT_TRUE(notifications.Registered());
    Start();
    EXPECT_FALSE(Desktop->TitleNoticesItem()->isChecked()) << "off by default";
    ASSERT_TRUE(TitleSent());
    QTest::qWait(300);
    EXPECT_TRUE(notifications.Notices.empty());

    Desktop->TitleNoticesItem()->trigger();
    // Back to the first row (the one with "&" in its name); its stream starts at part 1.
    Bus.Call(Client::Player, "Previous");
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications.Notices.size() == 1; }, kPatience));
    const auto first = notifications.Notices.at(0);
    EXPECT_EQ(first.AppName, "Tunewell");
    EXPECT_EQ(first.ReplacesId, 0u);
    EXPECT_EQ(first.AppIcon, "tunewell");
    EXPECT_EQ(first.Summary, "Tunewell demo - part 1");
    EXPECT_EQ(first.Body, "Rock &amp; Demo");
    EXPECT_EQ(first.Hints.value("desktop-entry"), "tunewell");

    // Bravo again: a new stream starts at part 1 once more, which is no news.
    Bus.Call(Client::Player, "Next");
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications.Notices.size() == 2; }, kPatience))
        << Wmp->statusText().toStdString();
    const auto second = notifications.Notices.at(1);
    EXPECT_EQ(second.Summary, "Tunewell demo - part 2");
    EXPECT_EQ(second.Body, "Bravo Demo");
    EXPECT_EQ(second.ReplacesId, first.Id);
}

TEST_F(DesktopBusTest, WithoutMarkupTheNameIsPlainText) {
    FakeNotifications notifications({"body"});
    ASSERT_TRUE(notifications.Registered());
    Start();
    Desktop->TitleNoticesItem()->trigger();
    Bus.Call(Client::Player, "Previous");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifications.Notices.empty(); }, kPatience));
    EXPECT_EQ(notifications.Notices.at(0).Body, "Rock & Demo");
}

TEST(TitleNoticesTest, WhetherTheServiceReadsMarkupIsAskedAgainUntilOneAnswers) {
    StillPlayerRemote remote;
    remote.StationNow = {"Rock & Demo", "http://127.0.0.1:1/rock", "12"};
    remote.CanPlayNow = true;
    TitleNotices notices(remote, QDBusConnection::sessionBus());
    notices.SetEnabled(true);
    // No notification service yet: nothing can be told, and nothing is concluded.
    remote.ShowTitle("Title one");
    QTest::qWait(300);

    FakeNotifications notifications({"body", "body-markup"});
    ASSERT_TRUE(notifications.Registered());
    remote.ShowTitle("Title two");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifications.Notices.empty(); }, kPatience));
    EXPECT_EQ(notifications.Notices.at(0).Summary, "Title two");
    EXPECT_EQ(notifications.Notices.at(0).Body, "Rock &amp; Demo");
}

// Each start of the program as its own connection to the session bus.
struct ProgramStart {
    explicit ProgramStart(const char *Name)
        : Connection(QString::fromLatin1(Name)),
          Instance(QDBusConnection::connectToBus(QDBusConnection::SessionBus, Connection)) {
        Instance.OnActivate([this] { ++Shown; });
    }
    ~ProgramStart() { QDBusConnection::disconnectFromBus(Connection); }
    QString Connection;
    SingleInstance Instance;
    int Shown = 0;
};

TEST(SingleInstanceTest, ALaterStartShowsTheFirstAndEndsUntilTheFirstLetsGo) {
    ProgramStart first("tunewell-test-first");
    ASSERT_TRUE(first.Instance.Claim());
    {
        ProgramStart second("tunewell-test-second");
        EXPECT_FALSE(second.Instance.Claim());
        EXPECT_TRUE(QTest::qWaitFor([&] { return first.Shown == 1; }, kPatience));
        EXPECT_EQ(second.Shown, 0);
    }
    // As before a restart: the first gives the name up, and the next start runs.
    first.Instance.Release();
    ProgramStart third("tunewell-test-third");
    EXPECT_TRUE(third.Instance.Claim());
    ProgramStart fourth("tunewell-test-fourth");
    EXPECT_FALSE(fourth.Instance.Claim());
    EXPECT_TRUE(QTest::qWaitFor([&] { return third.Shown == 1; }, kPatience));
    EXPECT_EQ(first.Shown, 1);
}

// Ctrl+Q and at once a new start: it runs, while the first still writes its close record.
TEST_F(DesktopBusTest, AStartRightAfterQuitRunsAndFindsBothNamesFree) {
    ProgramStart first("tunewell-test-quitting");
    ASSERT_TRUE(first.Instance.Claim());
    Options.Instance = &first.Instance;
    auto &form = Start();
    // The close below happens whatever fails before it: the first start's claim goes with this test.
    EXPECT_NE(Desktop->MediaInterface(), nullptr);
    Desktop->QuitItem()->trigger();
    EXPECT_FALSE(form.isVisible());

    ProgramStart next("tunewell-test-after-quit");
    EXPECT_TRUE(next.Instance.Claim()) << "the start after Quit ended";
    EXPECT_FALSE(
        QDBusConnection::sessionBus().interface()->isServiceRegistered(MediaPlayer2Service::ServiceName))
        << "the media interface's name is still held";
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.CloudIdle(); }, kPatience));
    EXPECT_EQ(Cloud_("/STATUS/Status"), "\"Offline\"");
    EXPECT_EQ(first.Shown, 0);
}

TEST(SingleInstanceTest, WithoutASessionBusEveryStartRuns) {
    for (const char *name : {"tunewell-test-no-bus-1", "tunewell-test-no-bus-2"}) {
        QDBusConnection none =
            QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tunewell-bus"), name);
        SingleInstance instance(none);
        EXPECT_TRUE(instance.Claim()) << name;
        QDBusConnection::disconnectFromBus(name);
    }
}

} // namespace
} // namespace Tunewell::Testing
