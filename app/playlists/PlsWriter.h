#pragma once

#include "app/playlists/PlaylistEntry.h"

#include <string>
#include <vector>

namespace Tunewell {

// A PLS playlist: "[playlist]", then FileN, TitleN and LengthN=-1 (a stream has no length) for
// each entry from 1, NumberOfEntries and Version=2; LF line ends, UTF-8 without a byte-order mark.
std::string WritePls(const std::vector<TPlaylistEntry> &Entries);

} // namespace Tunewell
