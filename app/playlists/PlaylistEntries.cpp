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
    if (!IsStationAddress(Address)) {
        throw PlaylistRefusal::NotAnAddress(Line, Address);
    }
    if (Entries_.size() == PlaylistMaxEntries) {
        throw PlaylistRefusal::TooManyEntries();
    }
    // Cut after flattening, then trimmed again: a cut may end on a blank.
    const std::string name = FlatName(Title);
    const std::string_view cut = TrimBlanks(CutToCharacters(name, PlaylistMaxNameCharacters));
    Entries_.push_back({std::string(cut), std::string(Address)});
}

std::vector<TPlaylistEntry> TPlaylistEntries::Take() {
    if (Entries_.empty()) {
        throw PlaylistRefusal::NoStations();
    }
    return std::exchange(Entries_, {});
}

} // namespace Tunewell
