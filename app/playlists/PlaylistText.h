#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace Tunewell {

// The text of a playlist file without a leading UTF-8 byte-order mark. Throws PlaylistError, naming
// the line, for binary data (NUL or another control character than tab, CR and LF) and for bytes
// that are not UTF-8.
std::string_view CheckedPlaylistText(std::string_view Bytes);

// Whether Bytes are UTF-8 throughout (a leading byte-order mark is UTF-8 too).
bool IsUtf8Text(std::string_view Bytes);

// Latin-1 bytes as UTF-8 text: each byte is the code point of its value.
std::string Latin1AsUtf8(std::string_view Bytes);

// Calls Visit with each line and its number (from 1); lines end at CRLF, LF or CR, as players
// write them. Throws PlaylistError for a line longer than the limit, before visiting it.
void ForEachPlaylistLine(std::string_view Text, const std::function<void(std::string_view, int)> &Visit);

} // namespace Tunewell
