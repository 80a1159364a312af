#include "app/recording/StreamRecording.h"

#include "app/recording/FrameHead.h"
#include "app/recording/Id3v2Tag.h"
#include "app/recording/OggPage.h"
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
    if (format == Format_)
        return;
    // Another format within one file would not play past the change.
    if (FileOpen_) {
        SplitDue_ = true;
        SinceSplitDue_ = 0;
    }
    // The new format's frames are counted afresh: the titles told so far are theirs.
    if (!TitlesAhead_.empty()) {
        Title_ = TitlesAhead_.back().second;
        TitlesAhead_.clear();
    }
    Format_ = format;
    Frames_.emplace(*format);
    OggHeaders_ = {};
}

void StreamRecording::Title(const QString &Title) {
    const std::lock_guard lock(Lock_);
    if (Title == LatestTitle_)
        return;
    LatestTitle_ = Title;
    // A frame begun before the title came is still the old title's.
    TitlesAhead_.emplace_back(Frames_ ? Frames_->Fed() : 0, Title);
}

void StreamRecording::Bytes(std::string_view Bytes) {
    const std::lock_guard lock(Lock_);
    if (Stopped_ || !Frames_ || Bytes.empty())
        return;
    Frames_->Feed(Bytes,
                  [this](std::string_view Frame, std::uint64_t Offset) { this->Frame(Frame, Offset); });
}

void StreamRecording::Finish() {
    Stopped_ = true;
    Writer_.Finish();
}

void StreamRecording::TakeTitlesUpTo(std::uint64_t Offset) {
    while (!TitlesAhead_.empty() && TitlesAhead_.front().first <= Offset) {
        Title_ = TitlesAhead_.front().second;
        TitlesAhead_.pop_front();
        if (FileOpen_ && !SplitDue_) {
            SplitDue_ = true;
            SinceSplitDue_ = 0;
        }
    }
}

void StreamRecording::Frame(std::string_view Bytes, std::uint64_t Offset) {
    TakeTitlesUpTo(Offset);
    if (*Format_ == RecordingFormat::Ogg) {
        OggFrame(Bytes);
        return;
    }
    if (NewFileDue())
        OpenFile();
    Write(Bytes);
}

void StreamRecording::OggFrame(std::string_view Page) {
    if (OggHeaders_.Take(Page)) {
        // The headers of a new link of a chained stream: the file goes on with it.
        if (!NewFileDue())
            Write(Renumbered(Page));
        return;
    }
    // Audio without the headers before it plays nowhere.
    if (!OggHeaders_.Complete())
        return;
    if (NewFileDue()) {
        // A page that ends a packet begun before it would open the file with half a packet.
        const bool waitedEnough = SinceSplitDue_ + Page.size() > MostBytesBeforeSplit;
        if (OggPage::ContinuesPacket(Page) && !waitedEnough) {
            SinceSplitDue_ += Page.size();
            if (FileOpen_)
                Write(Renumbered(Page));
            return;
        }
        OpenFile();
    }
    Write(Renumbered(Page));
}

void StreamRecording::OpenFile() {
    SplitDue_ = false;
    SinceSplitDue_ = 0;
    FileOpen_ = true;
    OggSequence_.clear();
    const QString name =
        RecordingFileName(Options_.Now(), Title_.isEmpty() ? Options_.Station : Title_, *Format_);
    // Raw AAC has no place for an ID3 tag that every player skips, and an Ogg file must begin
    // with its stream's header pages.
    std::string header;
    if (*Format_ == RecordingFormat::Mp3) {
        header = RecordingTag(Title_, Options_.Station);
    } else if (*Format_ == RecordingFormat::Ogg) {
        std::string_view pages = OggHeaders_.Pages();
        while (!pages.empty()) {
            const std::size_t length = ReadFrameHead(RecordingFormat::Ogg, pages).Length;
            header += Renumbered(pages.substr(0, length));
            pages.remove_prefix(length);
        }
    }
    if (!Writer_.Open(Options_.Folder / name.toStdString(), header))
        Stop(RecordingStop::DiskTooSlow, {});
}

std::string StreamRecording::Renumbered(std::string_view Page) {
    std::string page(Page);
    OggPage::Renumber(page, OggSequence_[OggPage::Serial(page)]++);
    return page;
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
