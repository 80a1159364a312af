#include "app/playlists/PlaylistReader.h"

#include "app/playlists/M3uReader.h"
#include "app/playlists/PlaylistEntries.h"
#include "app/playlists/PlaylistFileBytes.h"
#include "app/playlists/PlaylistFormat.h"
#include "app/playlists/PlaylistLimits.h"
#include "app/playlists/PlaylistMessages.h"
#include "app/playlists/PlaylistText.h"
#include "app/playlists/PlsReader.h"
#include "app/playlists/XspfReader.h"
#include "shared/core/TrimBlanks.h"

namespace Tunewell {

std::vector<TPlaylistEntry> ReadPlaylistFile(const std::filesystem::path &File) {
    const std::string bytes = ReadPlaylistFileBytes(File);
    return ReadPlaylistText(bytes, File.extension().string());
}

std::vector<TPlaylistEntry> ReadPlaylistText(std::string_view Bytes, std::string_view Suffix) {
    if (Bytes.size() > PlaylistMaxFileBytes) {
        throw PlaylistRefusal::TooLarge();
    }
    const std::string_view text = CheckedPlaylistText(Bytes);
    if (TrimBlanks(text).empty()) {
        throw PlaylistRefusal::NoStations();
    }
    const auto format = SniffPlaylistFormat(text, Suffix);
    if (!format) {
        throw PlaylistRefusal::UnknownFormat();
    }
    TPlaylistEntries entries;
    switch (*format) {
    case TPlaylistFormat::M3u:
        ReadM3u(text, entries);
        break;
    case TPlaylistFormat::Pls:
        ReadPls(text, entries);
        break;
    case TPlaylistFormat::Xspf:
        ReadXspf(text, entries);
        break;
    }
    return entries.Take();
}

} // namespace Tunewell
