#pragma once

#include <functional>
#include <string_view>

namespace Tunewell {

// The text of a playlist file without a leading UTF-8 byte-order mark. Throws PlaylistError, naming
// the line, for binary data (NUL or another control character than tab, CR and LF) and for bytes
// that are not UTF-8.
std::string_view CheckedPlaylistText(std::string_view Bytes);

// Calls Visit with each line and its number (from 1); lines end at CRLF, LF or CR, as players
// write them. Throws PlaylistError for a line longer than the limit, before visiting it.
void ForEachPlaylistLine(std::string_view Text, const std::function<void(std::string_view, int)> &Visit);

} // namespace Tunewell
