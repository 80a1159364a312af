#include "app/recording/StreamRecording.h"

#include "MemoryRecordingDisk.h"
#include "app/recording/FileRecordingDisk.h"
#include "app/recording/Id3v2Tag.h"
#include "app/recording/RecordingError.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>

namespace Tunewell {
namespace {

using namespace std::string_literals;

const StreamKind Mp3{"audio/mpeg", 1, 3, ""};

// A whole frame as its header says: MPEG-1 layer III at 128 kbit/s and 44.1 kHz, 417 bytes,
// the bytes after the header holding no sync.
std::string Frame(char Fill) {
    return "\xFF\xFB\x90\x64"s + std::string(417 - 4, Fill);
}

// A whole ADTS frame of Length bytes.
std::string AdtsFrame(char Fill, std::size_t Length = 64) {
    std::string header = "\xFF\xF1\x50\x80\x00\x1F\xFC"s;
    header[3] = static_cast<char>(0x80 | ((Length >> 11) & 0x3));
    header[4] = static_cast<char>((Length >> 3) & 0xFF);
    header[5] = static_cast<char>(((Length & 0x7) << 5) | 0x1F);
    return header + std::string(Length - header.size(), Fill);
}

struct StopRecord {
    std::mutex Lock;
    std::vector<std::pair<RecordingStop, std::string>> Stops;
    auto Callback() {
        return [this](RecordingStop Why, const std::string &Detail) {
            const std::lock_guard lock(Lock);
            Stops.emplace_back(Why, Detail);
        };
    }
};

class StreamRecordingTest : public ::testing::Test {
protected:
    std::unique_ptr<StreamRecording> Start(IRecordingDisk &Disk, std::size_t QueueBytes = 1 << 20) {
        StreamRecording::Setup setup;
        setup.Folder = "/music/Tunewell/FM";
        setup.Station = u"FM"_qs;
        // Each file a second after the one before, so that the names tell them apart.
        setup.Now = [this] { return QDateTime(QDate(2026, 5, 1), QTime(21, 0, Seconds++)); };
        setup.QueueBytes = QueueBytes;
        return std::make_unique<StreamRecording>(setup, Disk, Stopped.Callback());
    }

    MemoryRecordingDisk Disk;
    StopRecord Stopped;
    int Seconds = 0;
};

TEST_F(StreamRecordingTest, SplitsAtTheFirstFrameBegunAfterEachNewTitleAndKeepsWholeFramesOnly) {
    auto recording = Start(Disk);
    recording->Kind(Mp3);
    recording->Title(u"Ana - One"_qs);
    // The start of the stream is cut at its first frame.
    recording->Bytes("junk" + Frame('a') + Frame('b'));
    recording->Title(u"Ana - One"_qs);
    // A frame begun before the title changed is the old title's.
    recording->Bytes(Frame('c').substr(0, 200));
    recording->Title(u"Bo - Two"_qs);
    // Bytes between frames are no frame and are left out.
    recording->Bytes(Frame('c').substr(200) + "tail" + Frame('d'));
    recording->Title(u"Three"_qs);
    recording->Bytes(Frame('e'));
    // A stop in the middle of a frame leaves that frame out: the file ends on a frame's end.
    recording->Bytes(Frame('f').substr(0, 300));
    recording.reset();

    const std::vector<std::filesystem::path> files = Disk.Files();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], "/music/Tunewell/FM/2026-05-01 21-00-00 Ana - One.mp3");
    EXPECT_EQ(files[1], "/music/Tunewell/FM/2026-05-01 21-00-01 Bo - Two.mp3");
    EXPECT_EQ(files[2], "/music/Tunewell/FM/2026-05-01 21-00-02 Three.mp3");
    EXPECT_EQ(Disk.Contents(files[0]),
              RecordingTag(u"Ana - One"_qs, u"FM"_qs) + Frame('a') + Frame('b') + Frame('c'));
    EXPECT_EQ(Disk.Contents(files[1]), RecordingTag(u"Bo - Two"_qs, u"FM"_qs) + Frame('d'));
    EXPECT_EQ(Disk.Contents(files[2]), RecordingTag(u"Three"_qs, u"FM"_qs) + Frame('e'));
    for (const auto &file : files)
        EXPECT_TRUE(Disk.Closed(file)) << file;
    EXPECT_TRUE(Stopped.Stops.empty());
}

TEST_F(StreamRecordingTest, EachFormatKeepsItsBytesWithTheTagsItAllows) {
    struct Case {
        StreamKind Kind;
        std::string Frame;
        std::string Extension;
        bool Tagged;
    };
    const Case cases[] = {
        {Mp3, Frame('m'), ".mp3", true},
        {{"audio/mpeg", 4, 0, "adts"}, AdtsFrame('a'), ".aac", false},
    };
    for (const Case &test : cases) {
        MemoryRecordingDisk disk;
        auto recording = Start(disk);
        recording->Kind(test.Kind);
        recording->Title(u"Song"_qs);
        recording->Bytes(test.Frame + test.Frame);
        recording.reset();
        ASSERT_EQ(disk.Files().size(), 1u) << test.Extension;
        const auto file = disk.Files().front();
        EXPECT_EQ(file.extension(), test.Extension);
        const std::string tag = test.Tagged ? RecordingTag(u"Song"_qs, u"FM"_qs) : "";
        EXPECT_EQ(disk.Contents(file), tag + test.Frame + test.Frame) << test.Extension;
    }
}

TEST_F(StreamRecordingTest, AStationWithoutTitlesIsOneFileNamedForTheStation) {
    auto recording = Start(Disk);
    recording->Kind(Mp3);
    for (char fill = 'a'; fill < 'k'; ++fill)
        recording->Bytes(Frame(fill));
    recording.reset();
    ASSERT_EQ(Disk.Files().size(), 1u);
    EXPECT_EQ(Disk.Files().front().filename(), "2026-05-01 21-00-00 FM.mp3");
}

TEST_F(StreamRecordingTest, AnotherFormatStopsBeforeAnyFile) {
    auto recording = Start(Disk);
    recording->Kind({"audio/x-flac", 0, 0, ""});
    recording->Bytes("fLaC" + std::string(100, 'f'));
    recording.reset();
    EXPECT_TRUE(Disk.Files().empty());
    ASSERT_EQ(Stopped.Stops.size(), 1u);
    EXPECT_EQ(Stopped.Stops.front().first, RecordingStop::Unrecordable);
}

TEST_F(StreamRecordingTest, AFullDiskStopsOnceAndKeepsWhatFit) {
    const std::string tag = RecordingTag(u"Song"_qs, u"FM"_qs);
    Disk.FillUpAfter(tag.size() + 250);
    auto recording = Start(Disk);
    recording->Kind(Mp3);
    recording->Title(u"Song"_qs);
    std::string sent;
    for (char fill = 'a'; fill < 'h'; ++fill) {
        recording->Bytes(Frame(fill));
        sent += Frame(fill);
    }
    recording->Title(u"Next"_qs);
    recording->Bytes(Frame('z'));
    recording.reset();

    ASSERT_EQ(Disk.Files().size(), 1u) << "nothing after the failure";
    const auto file = Disk.Files().front();
    EXPECT_EQ(Disk.Contents(file), tag + sent.substr(0, 250));
    EXPECT_TRUE(Disk.Closed(file));
    ASSERT_EQ(Stopped.Stops.size(), 1u);
    EXPECT_EQ(Stopped.Stops.front().first, RecordingStop::WriteFailed);
    EXPECT_NE(Stopped.Stops.front().second.find("No space left"), std::string::npos);
}

TEST_F(StreamRecordingTest, AStalledDiskStopsAtAFullQueueWithoutHoldingTheStream) {
    Disk.Stall();
    constexpr std::size_t queueBytes = 4000;
    auto recording = Start(Disk, queueBytes);
    recording->Kind(Mp3);
    std::string sent;
    // Were the stream's thread to wait for the disk, this loop would never end.
    for (int frame = 0; frame < 30; ++frame) {
        recording->Bytes(Frame('s'));
        sent += Frame('s');
    }
    {
        const std::lock_guard lock(Stopped.Lock);
        ASSERT_EQ(Stopped.Stops.size(), 1u);
        EXPECT_EQ(Stopped.Stops.front().first, RecordingStop::DiskTooSlow);
    }
    Disk.LetGo();
    recording.reset();
    // What was queued reached the file, which plays up to there.
    ASSERT_EQ(Disk.Files().size(), 1u);
    const std::string tag = RecordingTag({}, u"FM"_qs);
    const std::string kept = Disk.Contents(Disk.Files().front());
    ASSERT_EQ(kept.substr(0, tag.size()), tag);
    const std::string body = kept.substr(tag.size());
    // What the queue held, and the chunk the stalled write held, within a frame.
    EXPECT_GE(body.size(), queueBytes - Frame('s').size());
    EXPECT_LE(body.size(), queueBytes + Frame('s').size());
    EXPECT_EQ(body, sent.substr(0, body.size()));
}

TEST(FileRecordingDisk, AnUnwritableFolderIsAnErrorThatNamesIt) {
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const std::filesystem::path root = temporary.path().toStdString();
    // A file where the folder should be refuses even a user who may write anywhere.
    std::ofstream(root / "Tunewell") << "a file";
    FileRecordingDisk disk;
    try {
        disk.Create(root / "Tunewell" / "FM" / "song.mp3");
        FAIL() << "a file was made under a file";
    } catch (const ERecordingError &error) {
        EXPECT_NE(std::string(error.what()).find((root / "Tunewell").string()), std::string::npos);
    }

    StopRecord stopped;
    StreamRecording::Setup setup;
    setup.Folder = root / "Tunewell" / "FM";
    auto recording = std::make_unique<StreamRecording>(setup, disk, stopped.Callback());
    recording->Kind(Mp3);
    recording->Bytes(Frame('a') + Frame('b'));
    recording.reset();
    ASSERT_EQ(stopped.Stops.size(), 1u);
    EXPECT_EQ(stopped.Stops.front().first, RecordingStop::WriteFailed);
}

TEST(FileRecordingDisk, ANameTakenGetsANumberAndFilesHoldWhatWasWritten) {
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const std::filesystem::path path = std::filesystem::path(temporary.path().toStdString()) / "FM" / "a.mp3";
    FileRecordingDisk disk;
    for (const char *text : {"first", "second", "third"}) {
        auto file = disk.Create(path);
        file->Write(text);
        file->Close();
    }
    const auto read = [](const std::filesystem::path &Path) {
        std::ifstream in(Path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read(path), "first");
    EXPECT_EQ(read(path.parent_path() / "a (2).mp3"), "second");
    EXPECT_EQ(read(path.parent_path() / "a (3).mp3"), "third");
}

} // namespace
} // namespace Tunewell
