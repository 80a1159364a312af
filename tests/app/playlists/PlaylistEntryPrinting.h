#pragma once

#include "app/playlists/PlaylistEntry.h"

#include <ostream>

namespace Tunewell {

// How a failing expectation shows an entry.
inline void PrintTo(const TPlaylistEntry &Entry, std::ostream *Out) {
    *Out << "{\"" << Entry.Title << "\", \"" << Entry.Address << "\"}";
}

} // namespace Tunewell
