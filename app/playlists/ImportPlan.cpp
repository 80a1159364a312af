#include "app/playlists/ImportPlan.h"

#include "app/core/StationTable.h"
#include "app/playlists/PlaylistAddress.h"
#include "app/playlists/PlaylistLimits.h"
#include "shared/core/CutToCharacters.h"
#include "shared/core/TrimBlanks.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace Tunewell {

namespace {

bool IsFavourite(const TStationRow &Row) {
    return Row.Text(fpFavoritos) == "1";
}

// Address to row; where the catalogue holds an address twice, a favourite among them wins, so a
// station starred already is not starred again under its other serie.
std::unordered_map<std::string_view, const TStationRow *> RowsByAddress(const TStationTable &Table) {
    std::unordered_map<std::string_view, const TStationRow *> rows;
    for (const TStationRow &row : Table.Rows()) {
        if (!row.HasValue(fpSerie)) {
            continue;
        }
        const auto [place, added] = rows.emplace(TrimBlanks(row.Text(fpUrl)), &row);
        if (!added && !IsFavourite(*place->second) && IsFavourite(row)) {
            place->second = &row;
        }
    }
    return rows;
}

} // namespace

TImportPlan PlanImport(const std::vector<TPlaylistEntry> &Entries, const TStationTable &Table) {
    const auto rows = RowsByAddress(Table);
    std::unordered_set<std::string_view> seen;
    TImportPlan plan;
    for (const TPlaylistEntry &entry : Entries) {
        const std::string_view address = TrimBlanks(entry.Address);
        if (!seen.insert(address).second) {
            continue;
        }
        const auto row = rows.find(address);
        if (row == rows.end()) {
            const std::string name =
                entry.Title.empty()
                    ? std::string(CutToCharacters(AddressHost(address), PlaylistMaxNameCharacters))
                    : entry.Title;
            plan.Own.push_back({name, std::string(address)});
        } else if (IsFavourite(*row->second)) {
            ++plan.AlreadyFavourite;
        } else {
            plan.Star.push_back(row->second->Number(fpSerie));
        }
    }
    return plan;
}

} // namespace Tunewell
