#include "app/playlists/PlsWriter.h"

#include "app/playlists/PlaylistName.h"

namespace Tunewell {

std::string WritePls(const std::vector<TPlaylistEntry> &Entries) {
    std::string text = "[playlist]\n";
    std::size_t number = 0;
    for (const TPlaylistEntry &entry : Entries) {
        const std::string n = std::to_string(++number);
        text += "File" + n + "=" + FlatName(entry.Address) + "\n";
        text += "Title" + n + "=" + FlatName(entry.Title) + "\n";
        text += "Length" + n + "=-1\n";
    }
    text += "NumberOfEntries=" + std::to_string(Entries.size()) + "\n";
    text += "Version=2\n";
    return text;
}

} // namespace Tunewell
