#pragma once

#include <optional>
#include <string_view>

namespace Tunewell {

enum class TPlaylistFormat { M3u, Pls, Xspf };

// The format of a playlist's text: by how it starts after blanks ("#EXTM3U", "[playlist]", any
// case; "<" for XML such as "<?xml" or "<playlist"), else by the file's suffix (".m3u", ".m3u8", ".pls",
// ".xspf", with or without the dot, any case); none when neither tells.
std::optional<TPlaylistFormat> SniffPlaylistFormat(std::string_view Text, std::string_view Suffix);

} // namespace Tunewell
