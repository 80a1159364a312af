#pragma once

#include "app/playlists/PlaylistEntry.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace Tunewell {

// The stations of an M3U, PLS or XSPF file, in the file's order (duplicates kept). A damaged or
// hostile file is refused whole with a PlaylistError that says why: see PlaylistLimits.h for the
// bounds, PlaylistAddress.h for the addresses taken. Names longer than the cloud keeps are cut.
std::vector<TPlaylistEntry> ReadPlaylistFile(const std::filesystem::path &File);

// The same for a file's bytes already read; Suffix (such as ".pls") decides the format only when
// the text itself does not.
std::vector<TPlaylistEntry> ReadPlaylistText(std::string_view Bytes, std::string_view Suffix);

} // namespace Tunewell
