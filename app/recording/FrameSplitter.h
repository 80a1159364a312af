#pragma once

#include "app/recording/RecordingFormat.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace Tunewell {

// Cuts a stream's bytes, fed in chunks of any size, into whole frames (Ogg pages), so that a
// file holds whole frames only and ends on a frame's end. A frame not yet whole is held back;
// bytes that are no frame are left out. Where the stream is lost (at the start, or after bytes
// that are no frame) a header is only believed when the frame it gives is followed by another
// header, or, for an Ogg page, when its checksum holds; every Ogg page's checksum is checked.
class FrameSplitter {
public:
    // Each whole frame, with the count of stream bytes fed before its first byte.
    using FrameFound = std::function<void(std::string_view Frame, std::uint64_t Offset)>;

    explicit FrameSplitter(RecordingFormat Format);

    void Feed(std::string_view Bytes, const FrameFound &Found);
    // The bytes held back: the start of a frame not yet whole, or bytes not yet told apart.
    std::string_view Held() const { return Held_; }
    // Stream bytes fed so far.
    std::uint64_t Fed() const { return Fed_; }

private:
    // Whether the frame of Length at the start of Rest is believed; empty: more bytes needed.
    std::optional<bool> Believed(std::string_view Rest, std::size_t Length) const;

    RecordingFormat Format_;
    std::string Held_;
    std::uint64_t Fed_ = 0;
    // The last frame ended where the held bytes begin.
    bool InStep_ = false;
};

} // namespace Tunewell
