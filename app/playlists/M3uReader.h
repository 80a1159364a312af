#pragma once

#include <string_view>

namespace Tunewell {

class TPlaylistEntries;

// An M3U playlist, with or without "#EXTM3U": each address line is an entry, named by the
// "#EXTINF:" line before it (the text after its first comma outside quotes, so attributes such
// as tvg-name="a, b" are passed over). Other comments and blank lines are skipped.
void ReadM3u(std::string_view Text, TPlaylistEntries &Entries);

} // namespace Tunewell
