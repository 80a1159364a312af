#include "app/recording/RecordingTap.h"

#include "../recording/PlayedByGStreamer.h"
#include "IcyStreamServer.h"
#include "Player/Wmp.h"
#include "app/recording/FileRecordingDisk.h"
#include "app/recording/StreamRecording.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <sstream>

namespace {

constexpr int waitLimitMs = 15000;

std::string readFile(const QString &path) {
    std::ifstream file(path.toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string readClip() {
    return readFile(TUNEWELL_TEST_CLIP);
}

// What the player handed over: the kinds, and the bytes after each title.
class TapRecorder : public Tunewell::IRecordingTap {
public:
    void Kind(const Tunewell::StreamKind &kind) override {
        const std::lock_guard lock(mutex_);
        kinds_.push_back(kind);
    }
    void Title(const QString &title) override {
        const std::lock_guard lock(mutex_);
        segments_.emplace_back(title, std::string());
    }
    void Bytes(std::string_view bytes) override {
        const std::lock_guard lock(mutex_);
        if (segments_.empty())
            segments_.emplace_back(QString(), std::string());
        segments_.back().second.append(bytes);
        total_ += bytes.size();
    }
    std::vector<Tunewell::StreamKind> kinds() const {
        const std::lock_guard lock(mutex_);
        return kinds_;
    }
    std::vector<std::pair<QString, std::string>> segments() const {
        const std::lock_guard lock(mutex_);
        return segments_;
    }
    std::size_t total() const {
        const std::lock_guard lock(mutex_);
        return total_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Tunewell::StreamKind> kinds_;
    std::vector<std::pair<QString, std::string>> segments_;
    std::size_t total_ = 0;
};

class RecordingTapTest : public ::testing::Test {
protected:
    RecordingTapTest() : server_(readClip(), "Loopback") {
        Player::WmpOptions options;
        // As fast as the stream comes: the titles change every few kilobytes, and a test needs several.
        options.audioSink = "fakesink sync=false";
        player_ = std::make_unique<Player::Wmp>(options);
        QObject::connect(player_.get(), &Player::Wmp::playStateChanged, [this](Player::PlaybackState state) {
            if (state == Player::PlaybackState::Playing)
                ++started_;
        });
    }
    void play(const std::string &path) { player_->setURL(QString::fromStdString(server_.url(path))); }
    void stop() { player_->controls().stop(); }

    IcyStreamServer server_;
    std::unique_ptr<Player::Wmp> player_;
    int started_ = 0;
};

TEST_F(RecordingTapTest, HandsOverTheStationsBytesWithoutItsTitlesSplitWhereTheTitlesCame) {
    auto recorder = std::make_shared<TapRecorder>();
    play("/titles");
    ASSERT_TRUE(player_->setRecordingTap(recorder));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->segments().size() >= 6; }, waitLimitMs));
    stop();

    ASSERT_FALSE(recorder->kinds().empty());
    EXPECT_EQ(Tunewell::RecordingFormatOf(recorder->kinds().front()), Tunewell::RecordingFormat::Mp3);
    const auto segments = recorder->segments();
    // The first began before the tap was set, the last when the stream stopped.
    for (std::size_t index = 1; index + 1 < segments.size(); ++index) {
        const auto &[title, bytes] = segments[index];
        ASSERT_TRUE(title.startsWith("Title ")) << title.toStdString();
        EXPECT_EQ(bytes.size(), 8192u) << title.toStdString();
        EXPECT_TRUE(bytes == server_.audioAfterTitle(title.toStdString())) << title.toStdString();
    }
}

TEST_F(RecordingTapTest, AnotherStreamOrNoTapEndsTheHandingOver) {
    struct Case {
        const char *how;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"another station", [this] { play("/live"); }},
        {"the same station again",
         [this] {
             stop();
             play("/titles");
         }},
        {"no tap", [this] { player_->setRecordingTap(nullptr); }},
    };
    for (const Case &test : cases) {
        auto recorder = std::make_shared<TapRecorder>();
        play("/titles");
        ASSERT_TRUE(player_->setRecordingTap(recorder));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->total() > 0; }, waitLimitMs)) << test.how;
        const int startedBefore = started_;
        test.end();
        const std::size_t handed = recorder->total();
        // The new stream, if any, plays a while without giving the old recording a byte.
        ASSERT_TRUE(QTest::qWaitFor([&] { return started_ > startedBefore || handed > 0; }, waitLimitMs));
        QTest::qWait(300);
        EXPECT_EQ(recorder->total(), handed) << test.how;
        stop();
    }
}

TEST_F(RecordingTapTest, ATapSetWhileAPlaylistIsFetchedFollowsTheStreamItNames) {
    for (const char *playlist : {"/listen.pls", "/tune"}) {
        auto recorder = std::make_shared<TapRecorder>();
        play(playlist);
        ASSERT_EQ(player_->playState(), Player::PlaybackState::Connecting) << playlist;
        ASSERT_TRUE(player_->setRecordingTap(recorder));
        EXPECT_TRUE(QTest::qWaitFor([&] { return recorder->total() > 0; }, waitLimitMs)) << playlist;
        ASSERT_FALSE(recorder->kinds().empty()) << playlist;
        EXPECT_EQ(Tunewell::RecordingFormatOf(recorder->kinds().back()), Tunewell::RecordingFormat::Mp3);
        stop();
    }
}

// A file's audio after its ID3v2 tag.
std::string audioOf(const std::string &file) {
    if (file.compare(0, 3, "ID3") != 0)
        return file;
    std::size_t size = 0;
    for (int index = 6; index < 10; ++index)
        size = size * 128 + static_cast<unsigned char>(file[index]);
    return file.substr(10 + size);
}

TEST_F(RecordingTapTest, ARecordingIsAFilePerTitleHoldingTheStationsFramesFromTitleToTitle) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    Tunewell::FileRecordingDisk disk;
    Tunewell::StreamRecording::Setup setup;
    setup.Folder = folder.path().toStdString();
    setup.Station = "Loopback FM";
    bool stopped = false;
    auto recording = std::make_shared<Tunewell::StreamRecording>(
        setup, disk, [&stopped](Tunewell::RecordingStop, const std::string &) { stopped = true; });
    play("/titles");
    ASSERT_TRUE(player_->setRecordingTap(recording));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QDir(folder.path()).entryList(QDir::Files).size() >= 5; }, waitLimitMs));
    stop();
    recording.reset();
    EXPECT_FALSE(stopped);

    // By title number: several titles may start within one second. Before the station's first
    // title the file is named for the station.
    std::map<int, QString> files;
    const QRegularExpression name(R"(^\d{4}-\d\d-\d\d \d\d-\d\d-\d\d (Title (\d+)|Loopback FM)\.mp3$)");
    for (const QString &file : QDir(folder.path()).entryList(QDir::Files)) {
        const auto match = name.match(file);
        ASSERT_TRUE(match.hasMatch()) << file.toStdString();
        files[match.captured(2).toInt()] = file;
    }
    ASSERT_GE(files.size(), 5u);
    // Each file whole but the first and last: from the first frame after its title to the first
    // frame after the next, which is at most two frames (105 bytes each here) into either.
    constexpr std::size_t mostSkipped = 2 * 105;
    for (auto file = std::next(files.begin()); std::next(file) != files.end(); ++file) {
        const std::string audio = audioOf(readFile(folder.filePath(file->second)));
        const std::string own = server_.audioAfterTitle("Title " + std::to_string(file->first));
        const std::string next = server_.audioAfterTitle("Title " + std::to_string(file->first + 1));
        ASSERT_GT(audio.size(), mostSkipped) << file->second.toStdString();
        EXPECT_EQ(static_cast<unsigned char>(audio[0]), 0xFF) << file->second.toStdString();
        const std::size_t from = own.find(audio.substr(0, 64));
        ASSERT_LE(from, mostSkipped) << file->second.toStdString();
        const std::size_t intoNext = audio.size() - (own.size() - from);
        EXPECT_LE(intoNext, mostSkipped) << file->second.toStdString();
        EXPECT_TRUE(audio == own.substr(from) + next.substr(0, intoNext)) << file->second.toStdString();
    }
}

// An Ogg station whose recording begins long after its header pages went by, split at its
// titles: each file plays alone.
TEST(OggRecordingTapTest, AnOggStationRecordedFromItsMiddleGivesFilesThatEachPlay) {
    IcyStreamServer server(readFile(TUNEWELL_TEST_OGG_CLIP), "Loopback");
    Player::WmpOptions options;
    options.audioSink = "fakesink sync=false";
    Player::Wmp player(options);
    player.setURL(QString::fromStdString(server.url("/titles")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.metadataBlocksSent() >= 2; }, waitLimitMs));

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    Tunewell::FileRecordingDisk disk;
    Tunewell::StreamRecording::Setup setup;
    setup.Folder = folder.path().toStdString();
    setup.Station = "Loopback FM";
    bool stopped = false;
    auto recording = std::make_shared<Tunewell::StreamRecording>(
        setup, disk, [&stopped](Tunewell::RecordingStop, const std::string &) { stopped = true; });
    ASSERT_TRUE(player.setRecordingTap(recording));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QDir(folder.path()).entryList(QDir::Files).size() >= 4; }, waitLimitMs));
    player.controls().stop();
    recording.reset();
    EXPECT_FALSE(stopped);

    for (const QString &name : QDir(folder.path()).entryList(QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(name.endsWith(".ogg"));
        const auto verdict = Tunewell::Testing::PlayedByGStreamer(folder.filePath(name).toStdString());
        EXPECT_TRUE(verdict.Discovered) << verdict.Error;
        EXPECT_TRUE(verdict.PlayedToTheEnd) << verdict.Error;
        EXPECT_GT(verdict.DurationNs, 0);
    }
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
