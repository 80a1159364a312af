#pragma once

#include "app/recording/RecordingFormat.h"

#include <cstddef>
#include <string_view>

namespace Tunewell {

// What begins Bytes: the header of a frame (an Ogg page) and the frame's whole length, no
// header, or too few bytes to tell.
struct FrameHead {
    enum class Kind { Frame, None, TooShort };
    Kind What = Kind::None;
    std::size_t Length = 0;
    bool operator==(const FrameHead &) const = default;
};

// Read from the header alone: an MP3 frame's length from its bitrate, sample rate and padding,
// an ADTS frame's from its length field, an Ogg page's from its segment table.
FrameHead ReadFrameHead(RecordingFormat Format, std::string_view Bytes);

} // namespace Tunewell
