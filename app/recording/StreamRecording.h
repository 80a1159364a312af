#pragma once

#include "app/recording/FrameSplitter.h"
#include "app/recording/OggHeaders.h"
#include "app/recording/RecordingFormat.h"
#include "app/recording/RecordingTap.h"
#include "app/recording/RecordingWriter.h"

#include <QDateTime>
#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

namespace Tunewell {

class IRecordingDisk;

// Why a recording stopped by itself.
enum class RecordingStop {
    // The stream is in a format not kept as sent.
    Unrecordable,
    // The writer's queue filled up: the disk does not keep up.
    DiskTooSlow,
    // A file could not be made or written.
    WriteFailed,
};

// One recording of the station being heard: a file per title (a new one at each new title, from
// the first frame begun after it), named by time and title in the station's folder, MP3 with an
// ID3v2 tag, each Ogg file beginning with the stream's header pages. Files hold whole frames
// only, so that each ends on a frame's end. Fed by the player's streaming thread; files are
// written by a RecordingWriter.
class StreamRecording : public IRecordingTap {
public:
    struct Setup {
        // The station's folder.
        std::filesystem::path Folder;
        QString Station;
        std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
        std::size_t QueueBytes = RecordingWriter::DefaultQueueBytes;
    };
    // Once at most, from whichever thread found it; Detail is the system's words, if any.
    using Stopped = std::function<void(RecordingStop Why, const std::string &Detail)>;
    // On the writer's thread, once the last file is closed after Finish.
    using Finished = std::function<void()>;

    StreamRecording(Setup Options, IRecordingDisk &Disk, Stopped OnStop, Finished OnFinish = {});
    ~StreamRecording() override;

    void Kind(const StreamKind &Kind) override;
    void Title(const QString &Title) override;
    void Bytes(std::string_view Bytes) override;
    // Takes nothing more; what is queued is written and the file closed. A frame not yet whole is
    // left out.
    void Finish();
    std::uint64_t BytesWritten() const { return Writer_.Written(); }

private:
    // A title change not yet in a file waits this long for an Ogg page that begins a packet
    // before it splits anyway.
    static constexpr std::size_t MostBytesBeforeSplit = 64 * 1024;

    void Frame(std::string_view Bytes, std::uint64_t Offset);
    void OggFrame(std::string_view Page);
    // The titles told before a frame beginning at Offset are its own.
    void TakeTitlesUpTo(std::uint64_t Offset);
    bool NewFileDue() const { return !FileOpen_ || SplitDue_; }
    void OpenFile();
    // Page numbered as the file's next of its logical stream.
    std::string Renumbered(std::string_view Page);
    void Write(std::string_view Bytes);
    void Stop(RecordingStop Why, const std::string &Detail);

    Setup Options_;
    Stopped OnStop_;
    std::mutex Lock_;
    std::optional<RecordingFormat> Format_;
    std::optional<FrameSplitter> Frames_;
    OggHeaders OggHeaders_;
    // Each Ogg file numbers each logical stream's pages from zero.
    std::map<std::uint32_t, std::uint32_t> OggSequence_;
    // The title of the frames being written, the last one told, and those told whose frames
    // have not come yet, each with the count of stream bytes before it.
    QString Title_;
    QString LatestTitle_;
    std::deque<std::pair<std::uint64_t, QString>> TitlesAhead_;
    bool FileOpen_ = false;
    bool SplitDue_ = false;
    std::size_t SinceSplitDue_ = 0;
    // No more bytes taken; a stop reported (Finish is no stop of its own).
    std::atomic<bool> Stopped_{false};
    std::atomic<bool> Reported_{false};
    RecordingWriter Writer_;
};

} // namespace Tunewell
