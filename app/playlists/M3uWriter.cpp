#include "app/playlists/M3uWriter.h"

#include "app/playlists/PlaylistName.h"

namespace Tunewell {

std::string WriteM3u(const std::vector<TPlaylistEntry> &Entries) {
    std::string text = "#EXTM3U\n";
    for (const TPlaylistEntry &entry : Entries) {
        text += "#EXTINF:-1," + FlatName(entry.Title) + "\n";
        text += FlatName(entry.Address) + "\n";
    }
    return text;
}

} // namespace Tunewell
