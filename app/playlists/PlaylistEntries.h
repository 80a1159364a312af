#pragma once

#include "app/playlists/PlaylistRead.h"

#include <string_view>

namespace Tunewell {

// The entries a reader finds, held to the rules every format shares: the address trimmed and
// checked (an entry naming no station, such as a local file, is passed over and counted; a bad
// http or https address refuses the whole file, naming its line), the name flattened and cut to
// the cloud's length at a character boundary, and no more entries than the limit.
class TPlaylistEntries {
public:
    void Add(std::string_view Title, std::string_view Address, int Line);
    // Every entry in the file's order; throws PlaylistError when there is none.
    TPlaylistRead Take();

private:
    TPlaylistRead Read_;
};

} // namespace Tunewell
