#include "app/recording/StreamRecording.h"

#include "app/recording/FrameStart.h"
#include "app/recording/Id3v2Tag.h"
#include "app/recording/RecordingFileName.h"

namespace Tunewell {

StreamRecording::StreamRecording(Setup Options, IRecordingDisk &Disk, Stopped OnStop, Finished OnFinish)
    : Options_(std::move(Options)), OnStop_(std::move(OnStop)),
      Writer_(
          Disk, Options_.QueueBytes,
          [this](const std::string &Detail) { Stop(RecordingStop::WriteFailed, Detail); },
          std::move(OnFinish)) {}

StreamRecording::~StreamRecording() {
    Finish();
}

void StreamRecording::Kind(const StreamKind &Kind) {
    const std::lock_guard lock(Lock_);
    const std::optional<RecordingFormat> format = RecordingFormatOf(Kind);
    if (!format) {
        Stop(RecordingStop::Unrecordable, Kind.MediaType);
        return;
    }
    // Another format within one file would not play past the change.
    if (Format_ && *Format_ != *format && FileOpen_)
        SplitDue_ = true;
    Format_ = format;
}

void StreamRecording::Title(const QString &Title) {
    const std::lock_guard lock(Lock_);
    if (Title == Title_)
        return;
    Title_ = Title;
    if (FileOpen_ && !SplitDue_) {
        SplitDue_ = true;
        SinceSplitDue_ = 0;
    }
}

void StreamRecording::Bytes(std::string_view Bytes) {
    const std::lock_guard lock(Lock_);
    if (Stopped_ || !Format_ || Bytes.empty())
        return;
    if (FileOpen_ && !SplitDue_) {
        Write(Bytes);
        return;
    }
    // A new file begins at a frame, so that it plays from its first byte; the bytes before it
    // end the previous file, or are left out at the very start.
    const std::optional<std::size_t> frame = FindFrameStart(*Format_, Bytes);
    const bool waitedEnough = SinceSplitDue_ + Bytes.size() > MostBytesBeforeSplit;
    if (!frame && !waitedEnough) {
        SinceSplitDue_ += Bytes.size();
        if (FileOpen_)
            Write(Bytes);
        return;
    }
    const std::size_t split = frame.value_or(0);
    if (FileOpen_ && split > 0)
        Write(Bytes.substr(0, split));
    OpenFile();
    Write(Bytes.substr(split));
}

void StreamRecording::Finish() {
    Stopped_ = true;
    Writer_.Finish();
}

void StreamRecording::OpenFile() {
    SplitDue_ = false;
    SinceSplitDue_ = 0;
    FileOpen_ = true;
    const QString name =
        RecordingFileName(Options_.Now(), Title_.isEmpty() ? Options_.Station : Title_, *Format_);
    // Raw AAC and Ogg have no place for an ID3 tag that every player skips.
    const std::string header = *Format_ == RecordingFormat::Mp3 ? RecordingTag(Title_, Options_.Station) : "";
    if (!Writer_.Open(Options_.Folder / name.toStdString(), header))
        Stop(RecordingStop::DiskTooSlow, {});
}

void StreamRecording::Write(std::string_view Bytes) {
    if (!Stopped_ && !Writer_.Write(Bytes))
        Stop(RecordingStop::DiskTooSlow, {});
}

void StreamRecording::Stop(RecordingStop Why, const std::string &Detail) {
    Stopped_ = true;
    // Told before the writer may finish, so that the owner hears of the stop before the end.
    if (!Reported_.exchange(true) && OnStop_)
        OnStop_(Why, Detail);
    // What is queued still reaches the file, which then plays up to there.
    Writer_.Finish();
}

} // namespace Tunewell
