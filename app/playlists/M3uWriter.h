#pragma once

#include "app/playlists/PlaylistEntry.h"

#include <string>
#include <vector>

namespace Tunewell {

// An M3U playlist: "#EXTM3U", then "#EXTINF:-1,Name" and the address for each entry; LF line
// ends, UTF-8 without a byte-order mark. Names and addresses are written as one line each.
std::string WriteM3u(const std::vector<TPlaylistEntry> &Entries);

} // namespace Tunewell
