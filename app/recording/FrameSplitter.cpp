#include "app/recording/FrameSplitter.h"

#include "app/recording/FrameHead.h"
#include "app/recording/OggPage.h"

namespace Tunewell {

FrameSplitter::FrameSplitter(RecordingFormat Format) : Format_(Format) {}

void FrameSplitter::Feed(std::string_view Bytes, const FrameFound &Found) {
    Held_.append(Bytes);
    Fed_ += Bytes.size();
    const std::uint64_t heldFrom = Fed_ - Held_.size();
    std::size_t at = 0;
    while (at < Held_.size()) {
        const std::string_view rest = std::string_view(Held_).substr(at);
        const FrameHead head = ReadFrameHead(Format_, rest);
        if (head.What == FrameHead::Kind::TooShort)
            break;
        if (head.What == FrameHead::Kind::Frame && rest.size() < head.Length)
            break;
        const std::optional<bool> believed =
            head.What == FrameHead::Kind::Frame ? Believed(rest, head.Length) : false;
        if (!believed)
            break;
        if (!*believed) {
            InStep_ = false;
            ++at;
            continue;
        }
        Found(rest.substr(0, head.Length), heldFrom + at);
        at += head.Length;
        InStep_ = true;
    }
    Held_.erase(0, at);
}

std::optional<bool> FrameSplitter::Believed(std::string_view Rest, std::size_t Length) const {
    const std::string_view frame = Rest.substr(0, Length);
    if (Format_ == RecordingFormat::Ogg)
        return OggPage::ChecksumHolds(frame);
    if (InStep_)
        return true;
    const FrameHead next = ReadFrameHead(Format_, Rest.substr(Length));
    if (next.What == FrameHead::Kind::TooShort)
        return std::nullopt;
    return next.What == FrameHead::Kind::Frame;
}

} // namespace Tunewell
