#include "Player/Wmp.h"

#include "DemoRadio.h"
#include "IcyStreamServer.h"
#include "Player/CurlPlaylistFetcher.h"
#include "Player/PlaybackMachine.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

// Readable failure messages for texts.
void PrintTo(const QString &text, std::ostream *out) {
    *out << '"' << text.toStdString() << '"';
}

using Player::PlaybackState;
using Player::Wmp;

namespace {

constexpr int waitLimitMs = 15000;
const std::string stationTitle = "Loopback Artist - Cora\xE7\xE3o"; // Latin-1, as many stations send it

std::string readClip() {
    std::ifstream file(TUNEWELL_TEST_CLIP, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class WmpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new IcyStreamServer(readClip(), stationTitle); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    static std::unique_ptr<Wmp> makePlayer(Player::WmpOptions options = {}) {
        options.audioSink = "fakesink sync=true";
        // A sink that keeps time like a sound card: one that swallows audio as fast as it comes
        // starves a network stream's buffer over and over.
        auto player = std::make_unique<Wmp>(options);
        player->resize(245, 240);
        player->show();
        return player;
    }

    static bool reaches(Wmp &player, PlaybackState state) {
        return QTest::qWaitFor([&] { return player.playState() == state; }, waitLimitMs);
    }

    static QString shownStatus(Wmp &player) { return player.findChild<QLabel *>("statusLabel")->text(); }

    static IcyStreamServer *server_;
};

IcyStreamServer *WmpTest::server_ = nullptr;

} // namespace

TEST_F(WmpTest, StartsWithTheMainWindowSettings) {
    auto player = makePlayer();
    EXPECT_TRUE(player->URL().isEmpty());
    EXPECT_TRUE(player->autoStart());
    EXPECT_EQ(player->volume(), 50);
    EXPECT_EQ(player->findChild<QSlider *>("volumeSlider")->value(), 50);
    EXPECT_FALSE(player->enableContextMenu());
    EXPECT_EQ(player->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_EQ(player->playState(), PlaybackState::Stopped);
    EXPECT_EQ(shownStatus(*player), "Stopped");

    player->setEnableContextMenu(true);
    EXPECT_EQ(player->contextMenuPolicy(), Qt::ActionsContextMenu);
    player->controls().play(); // nothing to play yet
    EXPECT_EQ(player->playState(), PlaybackState::Stopped);
}

TEST_F(WmpTest, ReportsEachNewAddressAndVolumeOnce) {
    auto player = makePlayer();
    player->setAutoStart(false);
    QSignalSpy addresses(player.get(), &Wmp::urlChanged);
    QSignalSpy volumes(player.get(), &Wmp::volumeChanged);
    for (const char *url : {"http://127.0.0.1:1/a", "http://127.0.0.1:1/a", "http://127.0.0.1:1/b"})
        player->setURL(url);
    ASSERT_EQ(addresses.count(), 2);
    EXPECT_EQ(addresses.at(1).at(0).toString(), "http://127.0.0.1:1/b");

    player->setVolume(30);
    player->setVolume(30);
    player->setVolume(140); // the slider ends at 100
    QTest::keyClick(player->findChild<QSlider *>("volumeSlider"), Qt::Key_Down);
    ASSERT_EQ(volumes.count(), 3);
    EXPECT_EQ(volumes.at(1).at(0).toInt(), 100);
    EXPECT_EQ(volumes.at(2).at(0).toInt(), player->volume());
    EXPECT_EQ(player->volume(), 99);
}

TEST_F(WmpTest, LoopingIcyStreamPlaysAndShowsItsTitleOnce) {
    auto player = makePlayer();
    QSignalSpy titles(player.get(), &Wmp::nowPlayingChanged);
    player->setURL(QString::fromStdString(server_->url("/live")));
    ASSERT_TRUE(reaches(*player, PlaybackState::Playing)) << shownStatus(*player).toStdString();
    EXPECT_EQ(shownStatus(*player), "Playing");

    const QString expectedTitle = QString::fromUtf8("Loopback Artist - Coração");
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->nowPlaying() == expectedTitle; }, waitLimitMs));
    EXPECT_EQ(player->findChild<QLabel *>("titleLabel")->text(), expectedTitle);
    // The station repeats its title with every metadata block; the player reports it once.
    const int blocksBefore = server_->metadataBlocksSent();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return server_->metadataBlocksSent() >= blocksBefore + 3; }, waitLimitMs));
    QTest::qWait(200);
    EXPECT_EQ(titles.count(), 1);

    // The same station asked for again (as the main window does on every activation) keeps playing.
    const int requestsBefore = server_->requests("/live");
    player->controls().play();
    QTest::qWait(200);
    EXPECT_EQ(player->playState(), PlaybackState::Playing);
    EXPECT_EQ(server_->requests("/live"), requestsBefore);

    // Another station's title is not this one's.
    player->setURL(QString::fromStdString(server_->url("/page")));
    EXPECT_TRUE(player->nowPlaying().isEmpty());
    EXPECT_TRUE(player->findChild<QLabel *>("titleLabel")->text().isEmpty());
}

TEST_F(WmpTest, OwnButtonsPauseResumeAndStop) {
    auto player = makePlayer();
    player->setURL(QString::fromStdString(server_->url("/live")));
    ASSERT_TRUE(reaches(*player, PlaybackState::Playing)) << shownStatus(*player).toStdString();

    auto *playPause = player->findChild<QToolButton *>("playPauseButton");
    QTest::mouseClick(playPause, Qt::LeftButton);
    EXPECT_EQ(player->playState(), PlaybackState::Paused);
    EXPECT_EQ(shownStatus(*player), "Paused");

    QTest::mouseClick(playPause, Qt::LeftButton);
    ASSERT_TRUE(reaches(*player, PlaybackState::Playing)) << shownStatus(*player).toStdString();

    QTest::mouseClick(player->findChild<QToolButton *>("stopButton"), Qt::LeftButton);
    EXPECT_EQ(player->playState(), PlaybackState::Stopped);
    EXPECT_EQ(shownStatus(*player), "Stopped");
    QTest::qWait(300);
    EXPECT_EQ(player->playState(), PlaybackState::Stopped) << "a stopped stream must not report back";
}

TEST_F(WmpTest, PlaylistAddressesPlayTheStreamTheyName) {
    struct Case {
        std::string path;
        const char *how;
    };
    const Case cases[] = {
        {"/listen.pls", "by its name"},
        {"/old.pls", "after a redirect"},
        {"/tune", "by its content type"},
    };
    for (const Case &c : cases) {
        auto player = makePlayer();
        const int playlistBefore = server_->requests(c.path);
        const int liveBefore = server_->requests("/live");
        player->setURL(QString::fromStdString(server_->url(c.path)));
        ASSERT_TRUE(reaches(*player, PlaybackState::Playing))
            << c.how << ": " << shownStatus(*player).toStdString();
        EXPECT_GT(server_->requests(c.path), playlistBefore) << c.how;
        EXPECT_EQ(server_->requests("/live"), liveBefore + 1) << c.how;
        EXPECT_EQ(player->URL(), QString::fromStdString(server_->url(c.path))) << c.how;
    }
}

TEST_F(WmpTest, PlaylistOfAStationLeftBehindIsIgnored) {
    auto player = makePlayer();
    const int dropBefore = server_->requests("/drop");
    const int answeredBefore = server_->requests("/slow.pls answered");
    player->setURL(QString::fromStdString(server_->url("/slow.pls")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_->requests("/slow.pls") > 0; }, waitLimitMs));
    player->setURL(QString::fromStdString(server_->url("/live")));
    ASSERT_TRUE(reaches(*player, PlaybackState::Playing));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_->requests("/slow.pls answered") > answeredBefore; },
                                waitLimitMs));
    QTest::qWait(300);
    EXPECT_EQ(player->playState(), PlaybackState::Playing);
    EXPECT_EQ(server_->requests("/drop"), dropBefore);
}

TEST_F(WmpTest, AddressesThatCannotPlayShowWhyAndStayFailed) {
    struct Case {
        std::string path;
        QString status;
    };
    const Case cases[] = {
        {"/missing", "Station not found"},
        {"/missing.pls", "Station not found"},
        {"/page", "Unsupported stream format"},
        {"/endless.m3u", "Unsupported stream format"},
        {"foo://radio.example/live", "Unsupported stream format"},
        {"not an address", "Station not found"},
    };
    for (const Case &c : cases) {
        auto player = makePlayer();
        const bool onServer = c.path.starts_with('/');
        player->setURL(QString::fromStdString(onServer ? server_->url(c.path) : c.path));
        ASSERT_TRUE(reaches(*player, PlaybackState::Failed))
            << c.path << ": " << shownStatus(*player).toStdString();
        EXPECT_EQ(shownStatus(*player), c.status) << c.path;
        EXPECT_FALSE(player->findChild<QLabel *>("statusLabel")->toolTip().isEmpty()) << c.path;
        // A failure is final: no reconnect follows.
        QTest::qWait(1200);
        EXPECT_EQ(player->playState(), PlaybackState::Failed) << c.path;
    }
}

TEST_F(WmpTest, DroppedStreamSaysSoAndReconnects) {
    auto player = makePlayer();
    QSignalSpy states(player.get(), &Wmp::playStateChanged);
    const int before = server_->requests("/drop");
    player->setURL(QString::fromStdString(server_->url("/drop")));
    ASSERT_TRUE(reaches(*player, PlaybackState::Reconnecting)) << shownStatus(*player).toStdString();
    EXPECT_EQ(shownStatus(*player), "Connection lost, reconnecting in 1 s");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_->requests("/drop") >= before + 2; }, waitLimitMs));
    EXPECT_TRUE(states.contains({QVariant::fromValue(PlaybackState::Connecting)}));
}

TEST_F(WmpTest, AStationThatRefusesEveryConnectionIsGivenUpAndTheStatusLineSaysSo) {
    using namespace std::chrono_literals;
    Player::WmpOptions options;
    options.reconnectBackoff = Cumulo::TReconnectBackoff(10ms, 40ms);
    auto player = makePlayer(options);
    QSignalSpy states(player.get(), &Wmp::playStateChanged);
    player->setURL("http://127.0.0.1:1/dead");
    ASSERT_TRUE(reaches(*player, PlaybackState::Failed)) << shownStatus(*player).toStdString();
    EXPECT_EQ(shownStatus(*player), QString::fromUtf8("Station unreachable / Rádio inacessível"));
    EXPECT_FALSE(player->findChild<QLabel *>("statusLabel")->toolTip().isEmpty());
    EXPECT_EQ(states.count({QVariant::fromValue(PlaybackState::Reconnecting)}),
              Player::PlaybackMachine::reconnectsBeforeGivingUp);
    QTest::qWait(300);
    EXPECT_EQ(player->playState(), PlaybackState::Failed) << "given up for good";
}

// Stations over HTTPS: the run's authority (TUNEWELL_CA_FILE) is trusted beside the system's
// store, by the stream source and the playlist fetcher alike; a station whose certificate is
// refused ends in the error status with a line that says so; http:// moved to https:// is followed.
class SecureStationTest : public WmpTest {
protected:
    void SetUp() override {
        trusted_ = makeFolder("trusted");
        stranger_ = makeFolder("stranger");
        ::setenv("TUNEWELL_CA_FILE", (trusted_ / "ca.pem").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("TUNEWELL_CA_FILE");
        std::filesystem::remove_all(trusted_);
        std::filesystem::remove_all(stranger_);
    }
    static std::filesystem::path makeFolder(const std::string &name) {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("tunewell-station-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        return folder;
    }
    static TunewellTesting::DemoRadio::Options radioOf(const std::filesystem::path &folder) {
        TunewellTesting::DemoRadio::Options options;
        options.tlsDataFolder = folder;
        return options;
    }

    std::filesystem::path trusted_;
    std::filesystem::path stranger_;
};

TEST_F(SecureStationTest, PlaysWhatTheRunTrustsAndSaysWhyItRefusesTheRest) {
    const TunewellTesting::DemoRadio trusted(radioOf(trusted_));
    const TunewellTesting::DemoRadio stranger(radioOf(stranger_));
    const QString refused =
        QString::fromUtf8("Station certificate not trusted \u00B7 Certificado da esta\u00E7\u00E3o "
                          "n\u00E3o confi\u00E1vel");
    struct Case {
        const char *what;
        std::string url;
        PlaybackState state;
        QString status;
    };
    const Case cases[] = {
        {"https", trusted.url(), PlaybackState::Playing, "Playing"},
        {"moved to https", server_->url("/moved?to=" + trusted.url()), PlaybackState::Playing, "Playing"},
        {"unknown authority", stranger.url(), PlaybackState::Failed, refused},
        {"moved to an unknown authority", server_->url("/moved?to=" + stranger.url()), PlaybackState::Failed,
         refused},
    };
    for (const Case &c : cases) {
        auto player = makePlayer();
        player->setURL(QString::fromStdString(c.url));
        ASSERT_TRUE(reaches(*player, c.state)) << c.what << ": " << shownStatus(*player).toStdString();
        EXPECT_EQ(shownStatus(*player), c.status) << c.what;
        if (c.state == PlaybackState::Failed) {
            const QString why = player->findChild<QLabel *>("statusLabel")->toolTip();
            EXPECT_TRUE(why.contains("certificate")) << c.what << ": " << why.toStdString();
            QTest::qWait(1200);
            EXPECT_EQ(player->playState(), PlaybackState::Failed) << c.what << ": no reconnect follows";
        }
    }
}

TEST_F(SecureStationTest, ThePlaylistFetcherFollowsAMoveToHttpsAndRefusesAStrangersCertificate) {
    const TunewellTesting::DemoRadio trusted(radioOf(trusted_));
    const TunewellTesting::DemoRadio stranger(radioOf(stranger_));
    const auto moved = Player::CurlPlaylistFetcher::fetchNow(server_->url("/moved?to=" + trusted.url()), {});
    EXPECT_TRUE(moved.ok) << moved.detail.toStdString();
    EXPECT_EQ(moved.finalUrl, QString::fromStdString(trusted.url()));
    EXPECT_FALSE(moved.body.empty());
    const auto refused = Player::CurlPlaylistFetcher::fetchNow(stranger.url(), {});
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.failure, Player::FailureKind::Certificate) << refused.detail.toStdString();
}

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
