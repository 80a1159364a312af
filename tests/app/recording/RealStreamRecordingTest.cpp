// Real streams made by GStreamer's encoders, fed to a recording from the middle of the stream in
// chunks that cut pages and frames anywhere, split at a title and stopped in the middle of a
// frame: every file must play alone, as GStreamer's discoverer and a decoding pipeline find it.
#include "PlayedByGStreamer.h"
#include "app/recording/FileRecordingDisk.h"
#include "app/recording/OggHeaderKeeper.h"
#include "app/recording/StreamRecording.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace Tunewell::Testing {
namespace {

constexpr std::size_t ChunkBytes = 777;

std::string ReadFile(const std::filesystem::path &Path) {
    std::ifstream file(Path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Stream(const char *Name) {
    const std::string bytes = ReadFile(std::filesystem::path(TUNEWELL_RECORDING_STREAMS) / Name);
    EXPECT_GT(bytes.size(), 10000u) << Name;
    return bytes;
}

struct Recorded {
    std::vector<std::filesystem::path> Files;
    bool Stopped = false;
};

// Records Stream from byte From to byte To (the stop), the title changing at byte TitleAt; an
// Ogg recording is first handed what the player kept of the stream before From.
Recorded Record(const QTemporaryDir &Folder, const StreamKind &Kind, const std::string &Stream,
                std::size_t From, std::size_t TitleAt, std::size_t To) {
    FileRecordingDisk disk;
    StreamRecording::Setup setup;
    setup.Folder = Folder.path().toStdString();
    setup.Station = QStringLiteral("FM");
    int second = 0;
    setup.Now = [&second] { return QDateTime(QDate(2026, 5, 1), QTime(21, 0, second++)); };
    Recorded recorded;
    auto recording = std::make_unique<StreamRecording>(
        setup, disk, [&recorded](RecordingStop, const std::string &) { recorded.Stopped = true; });
    recording->Kind(Kind);
    recording->Title(QStringLiteral("Ana - One"));
    if (RecordingFormatOf(Kind) == RecordingFormat::Ogg) {
        OggHeaderKeeper keeper;
        for (std::size_t at = 0; at < From; at += ChunkBytes)
            keeper.Feed(std::string_view(Stream).substr(at, std::min(ChunkBytes, From - at)));
        recording->Bytes(keeper.Handover());
    }
    for (std::size_t at = From, end = 0; at < To; at = end) {
        end = std::min(at + ChunkBytes, To);
        if (at < TitleAt && TitleAt < end)
            end = TitleAt;
        if (at == TitleAt)
            recording->Title(QStringLiteral("Bo - Two"));
        recording->Bytes(std::string_view(Stream).substr(at, end - at));
    }
    recording.reset();
    for (const QString &name : QDir(Folder.path()).entryList(QDir::Files, QDir::Name))
        recorded.Files.push_back(Folder.filePath(name).toStdString());
    return recorded;
}

TEST(RealStreamRecording, EachOggFileBeginsWithTheStreamsHeadersAndPlaysAlone) {
    const StreamKind ogg{"application/ogg", 0, 0, ""};
    struct Case {
        const char *Name;
        std::string Stream;
        // Where the recording begins and the title changes, as parts of the stream.
        double From;
        double TitleAt;
    };
    const std::string vorbis = Stream("vorbis.ogg");
    const std::string opus = Stream("opus.ogg");
    const Case cases[] = {
        {"Vorbis", vorbis, 0.37, 0.7},
        {"Opus", opus, 0.29, 0.6},
        {"Vorbis from its first byte", vorbis, 0, 0.5},
        // A station's chained stream: a new link, with headers of its own, while recording.
        {"chained Vorbis", vorbis + vorbis, 0.2, 0.8},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.Name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const auto at = [&test](double Part) { return static_cast<std::size_t>(test.Stream.size() * Part); };
        const Recorded recorded =
            Record(folder, ogg, test.Stream, at(test.From), at(test.TitleAt), test.Stream.size() - 100);
        EXPECT_FALSE(recorded.Stopped);
        ASSERT_EQ(recorded.Files.size(), 2u);
        for (const auto &file : recorded.Files) {
            SCOPED_TRACE(file.filename().string());
            const GStreamerVerdict verdict = PlayedByGStreamer(file);
            EXPECT_TRUE(verdict.Discovered) << verdict.Error;
            EXPECT_TRUE(verdict.PlayedToTheEnd) << verdict.Error;
            EXPECT_GT(verdict.DurationNs, 0);
        }
    }
}

// The length of the frame whose header begins Bytes, read here apart from the recording's own
// reader: MPEG-1 layer III at 44.1 kHz (what the encoder made) or ADTS; 0 for no such header.
std::size_t FrameLength(RecordingFormat Format, std::string_view Bytes) {
    const auto byte = [Bytes](std::size_t At) {
        return static_cast<unsigned>(static_cast<unsigned char>(Bytes[At]));
    };
    if (Format == RecordingFormat::Mp3) {
        static constexpr int kbits[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
        if (Bytes.size() < 4 || byte(0) != 0xFF || (byte(1) & 0xFE) != 0xFA || (byte(2) & 0x0C) != 0)
            return 0;
        return 144 * kbits[byte(2) >> 4] * 1000 / 44100 + ((byte(2) >> 1) & 1);
    }
    if (Bytes.size() < 7 || byte(0) != 0xFF || (byte(1) & 0xF6) != 0xF0)
        return 0;
    return ((byte(3) & 0x3) << 11) | (byte(4) << 3) | (byte(5) >> 5);
}

// Where each whole frame of Stream begins, and where the last one ends.
std::vector<std::size_t> FrameStarts(RecordingFormat Format, const std::string &Stream) {
    std::vector<std::size_t> starts;
    std::size_t at = 0;
    for (std::size_t length; (length = FrameLength(Format, std::string_view(Stream).substr(at))) > 0 &&
                             at + length <= Stream.size();
         at += length)
        starts.push_back(at);
    starts.push_back(at);
    return starts;
}

TEST(RealStreamRecording, Mp3AndAacFilesHoldWholeFramesToTheirEnd) {
    struct Case {
        const char *Name;
        StreamKind Kind;
        RecordingFormat Format;
    };
    const Case cases[] = {
        {"tone.mp3", {"audio/mpeg", 1, 3, ""}, RecordingFormat::Mp3},
        {"tone.aac", {"audio/mpeg", 4, 0, "adts"}, RecordingFormat::Aac},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.Name);
        const std::string stream = Stream(test.Name);
        const std::vector<std::size_t> starts = FrameStarts(test.Format, stream);
        ASSERT_GT(starts.size(), 50u);
        ASSERT_EQ(starts.back(), stream.size()) << "the encoder's stream is frames from end to end";
        // Begun, split and stopped within frames.
        const std::size_t from = starts[3] + 5;
        const std::size_t titleAt = starts[starts.size() / 2] + 7;
        const std::size_t to = starts[starts.size() - 4] + 9;
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const Recorded recorded = Record(folder, test.Kind, stream, from, titleAt, to);
        EXPECT_FALSE(recorded.Stopped);
        ASSERT_EQ(recorded.Files.size(), 2u);
        // The files hold, after the tag, the frames begun after the start and ended before the
        // stop, split at the first frame begun after the title.
        const std::size_t splitAt = starts[starts.size() / 2 + 1];
        const std::string expected[] = {stream.substr(starts[4], splitAt - starts[4]),
                                        stream.substr(splitAt, starts[starts.size() - 4] - splitAt)};
        for (std::size_t index = 0; index < 2; ++index) {
            SCOPED_TRACE(recorded.Files[index].filename().string());
            std::string audio = ReadFile(recorded.Files[index]);
            if (test.Format == RecordingFormat::Mp3) {
                ASSERT_EQ(audio.substr(0, 3), "ID3");
                std::size_t tag = 10;
                for (std::size_t at = 6; at < 10; ++at)
                    tag += static_cast<std::size_t>(static_cast<unsigned char>(audio[at])) << (7 * (9 - at));
                audio.erase(0, tag);
            }
            EXPECT_EQ(FrameStarts(test.Format, audio).back(), audio.size()) << "a frame cut short";
            EXPECT_TRUE(audio == expected[index]) << audio.size() << " bytes for " << expected[index].size();
            const GStreamerVerdict verdict = PlayedByGStreamer(recorded.Files[index]);
            EXPECT_TRUE(verdict.PlayedToTheEnd) << verdict.Error;
        }
    }
}

} // namespace
} // namespace Tunewell::Testing
