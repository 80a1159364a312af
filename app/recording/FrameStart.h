#pragma once

#include "app/recording/RecordingFormat.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace Tunewell {

// Where the first frame (an Ogg page) begins in Bytes, by its header; empty when no whole
// header is there. A header split across two chunks is not seen: the next one is.
std::optional<std::size_t> FindFrameStart(RecordingFormat Format, std::string_view Bytes);

} // namespace Tunewell
