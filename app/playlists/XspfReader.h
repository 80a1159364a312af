#pragma once

#include <string_view>

namespace Tunewell {

class TPlaylistEntries;

// An XSPF playlist: each <track> of <playlist><trackList> with a <location> is an entry, named by
// its <title>, else its <annotation>. Elements are matched by local name, so any namespace (or
// none) is taken. A DOCTYPE is refused before anything else is read: no entity is ever expanded.
// Lines are not held to the line limit, as XML written on one line is common; the file's is.
void ReadXspf(std::string_view Text, TPlaylistEntries &Entries);

} // namespace Tunewell
