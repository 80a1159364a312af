#pragma once

#include "app/playlists/PlaylistEntry.h"

#include <string_view>
#include <vector>

namespace Tunewell {

// The entries a reader finds, held to the rules every format shares: the address trimmed and
// checked (a bad one refuses the whole file, naming its line), the name flattened and cut to the
// cloud's length at a character boundary, and no more entries than the limit.
class TPlaylistEntries {
public:
    void Add(std::string_view Title, std::string_view Address, int Line);
    // Every entry in the file's order; throws PlaylistError when there is none.
    std::vector<TPlaylistEntry> Take();

private:
    std::vector<TPlaylistEntry> Entries_;
};

} // namespace Tunewell
