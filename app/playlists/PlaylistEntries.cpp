#include "app/playlists/PlaylistEntries.h"

#include "app/playlists/PlaylistAddress.h"
#include "app/playlists/PlaylistLimits.h"
#include "app/playlists/PlaylistMessages.h"
#include "app/playlists/PlaylistName.h"
#include "shared/core/CutToCharacters.h"
#include "shared/core/TrimBlanks.h"

#include <utility>

namespace Tunewell {

void TPlaylistEntries::Add(std::string_view Title, std::string_view Address, int Line) {
    Address = TrimBlanks(Address);
    if (CutToCharacters(Address, PlaylistMaxAddressCharacters).size() < Address.size()) {
        throw PlaylistRefusal::AddressTooLong(Line);
    }
    // An empty entry is a damaged one, not another kind of entry.
    if (!Address.empty() && !NamesStationScheme(Address)) {
        ++Read_.NotStations;
        return;
    }
    if (!IsStationAddress(Address)) {
        throw PlaylistRefusal::NotAnAddress(Line, Address);
    }
    if (Read_.Entries.size() == PlaylistMaxEntries) {
        throw PlaylistRefusal::TooManyEntries();
    }
    // Cut after flattening, then trimmed again: a cut may end on a blank.
    const std::string name = FlatName(Title);
    const std::string_view cut = TrimBlanks(CutToCharacters(name, PlaylistMaxNameCharacters));
    Read_.Entries.push_back({std::string(cut), std::string(Address)});
}

TPlaylistRead TPlaylistEntries::Take() {
    if (Read_.Entries.empty()) {
        throw PlaylistRefusal::NoStations();
    }
    return std::exchange(Read_, {});
}

} // namespace Tunewell
