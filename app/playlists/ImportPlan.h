#pragma once

#include "app/playlists/PlaylistEntry.h"

#include <cstdint>
#include <vector>

namespace Tunewell {

class TStationTable;

// What importing a playlist would do, worked out before anything is written.
struct TImportPlan {
    // The serie of each station in the table whose address an entry names and that is not a
    // favourite yet: these get a star.
    std::vector<std::int64_t> Star;
    // Entries naming a station that is a favourite already.
    int AlreadyFavourite = 0;
    // Entries naming no station in the table: these become one's own stations. Named by the
    // address's server when the file gave no name.
    std::vector<TPlaylistEntry> Own;
    // Entries of the file that name no station (local files and the like), passed over.
    int NotStations = 0;
};

// An entry names a station when its address equals the station's url exactly once blanks at
// either end are trimmed (case and a trailing slash count: servers tell such addresses apart).
// An address the file repeats counts once, at its first place; a station without a serie cannot
// be starred and is passed over.
TImportPlan PlanImport(const std::vector<TPlaylistEntry> &Entries, const TStationTable &Table);

} // namespace Tunewell
