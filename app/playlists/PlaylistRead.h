#pragma once

#include "app/playlists/PlaylistEntry.h"

#include <vector>

namespace Tunewell {

// What a playlist file gives: its stations, and how many of its entries were passed over for
// naming no station (a local file, a relative path, another scheme than http and https).
struct TPlaylistRead {
    std::vector<TPlaylistEntry> Entries;
    int NotStations = 0;

    bool operator==(const TPlaylistRead &Other) const = default;
};

} // namespace Tunewell
