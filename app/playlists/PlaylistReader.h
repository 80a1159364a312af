#pragma once

#include "app/playlists/PlaylistRead.h"

#include <filesystem>
#include <string_view>

namespace Tunewell {

// The stations of an M3U, PLS or XSPF file, in the file's order (duplicates kept), and the count
// of entries that name no station, passed over. A damaged or hostile file is refused whole with a
// PlaylistError that says why: see PlaylistLimits.h for the bounds, PlaylistAddress.h for the
// addresses taken. Names longer than the cloud keeps are cut.
TPlaylistRead ReadPlaylistFile(const std::filesystem::path &File);

// The same for a file's bytes already read; Suffix (such as ".pls") decides the format only when
// the text itself does not. A ".m3u" or ".pls" file that is not UTF-8 is read as Latin-1, as other
// players read it; ".m3u8" says UTF-8, and XML says its own encoding, so those are refused.
TPlaylistRead ReadPlaylistText(std::string_view Bytes, std::string_view Suffix);

} // namespace Tunewell
