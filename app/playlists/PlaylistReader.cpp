#include "app/playlists/PlaylistReader.h"

#include "Cumulo/AsciiCase.h"
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

#include <string>

namespace Tunewell {

namespace {

// A file other players read as Latin-1: a ".m3u" or ".pls" that is not UTF-8 and does not say it
// is (a byte-order mark) nor is XML (which names its encoding).
bool ReadsAsLatin1(std::string_view Bytes, std::string_view Suffix) {
    const std::string suffix = Cumulo::LowerAscii(std::string(Suffix));
    return (suffix == ".m3u" || suffix == ".pls") && !Bytes.starts_with("\xEF\xBB\xBF") &&
           !IsUtf8Text(Bytes) && SniffPlaylistFormat(Bytes, Suffix) != TPlaylistFormat::Xspf;
}

} // namespace

TPlaylistRead ReadPlaylistFile(const std::filesystem::path &File) {
    const std::string bytes = ReadPlaylistFileBytes(File);
    return ReadPlaylistText(bytes, File.extension().string());
}

TPlaylistRead ReadPlaylistText(std::string_view Bytes, std::string_view Suffix) {
    if (Bytes.size() > PlaylistMaxFileBytes) {
        throw PlaylistRefusal::TooLarge();
    }
    std::string decoded;
    if (ReadsAsLatin1(Bytes, Suffix)) {
        decoded = Latin1AsUtf8(Bytes);
        Bytes = decoded;
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
