#include "app/playlists/PlaylistFormat.h"

#include "Cumulo/AsciiCase.h"
#include "shared/core/TrimBlanks.h"

#include <string>

namespace Tunewell {

namespace {

// The signatures are short; this much of the first line is enough to tell them apart.
constexpr std::size_t kSignatureBytes = 16;

std::optional<TPlaylistFormat> ByContent(std::string_view Text) {
    const std::string start = Cumulo::LowerAscii(std::string(TrimBlanks(Text).substr(0, kSignatureBytes)));
    if (start.starts_with("#extm3u")) {
        return TPlaylistFormat::M3u;
    }
    if (start.starts_with("[playlist]")) {
        return TPlaylistFormat::Pls;
    }
    // "<?xml", "<playlist" or a root with a namespace prefix: XML, which the XSPF reader judges.
    if (start.starts_with('<')) {
        return TPlaylistFormat::Xspf;
    }
    return std::nullopt;
}

std::optional<TPlaylistFormat> BySuffix(std::string_view Suffix) {
    if (Suffix.starts_with('.')) {
        Suffix.remove_prefix(1);
    }
    const std::string suffix = Cumulo::LowerAscii(std::string(Suffix));
    if (suffix == "m3u" || suffix == "m3u8") {
        return TPlaylistFormat::M3u;
    }
    if (suffix == "pls") {
        return TPlaylistFormat::Pls;
    }
    if (suffix == "xspf") {
        return TPlaylistFormat::Xspf;
    }
    return std::nullopt;
}

} // namespace

std::optional<TPlaylistFormat> SniffPlaylistFormat(std::string_view Text, std::string_view Suffix) {
    if (const auto format = ByContent(Text)) {
        return format;
    }
    return BySuffix(Suffix);
}

} // namespace Tunewell
