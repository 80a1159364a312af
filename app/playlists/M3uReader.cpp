#include "app/playlists/M3uReader.h"

#include "Cumulo/AsciiCase.h"
#include "app/playlists/PlaylistEntries.h"
#include "app/playlists/PlaylistText.h"
#include "shared/core/TrimBlanks.h"

#include <string>

namespace Tunewell {

namespace {

constexpr std::string_view kExtinf = "#EXTINF:";

std::string_view ExtinfTitle(std::string_view Line) {
    bool quoted = false;
    for (std::size_t i = kExtinf.size(); i < Line.size(); ++i) {
        if (Line[i] == '"') {
            quoted = !quoted;
        } else if (Line[i] == ',' && !quoted) {
            return Line.substr(i + 1);
        }
    }
    return {};
}

bool StartsWithExtinf(std::string_view Line) {
    return Cumulo::EqualsIgnoringAsciiCase(std::string(Line.substr(0, kExtinf.size())), std::string(kExtinf));
}

} // namespace

void ReadM3u(std::string_view Text, TPlaylistEntries &Entries) {
    std::string title;
    ForEachPlaylistLine(Text, [&](std::string_view Line, int Number) {
        Line = TrimBlanks(Line);
        if (Line.empty()) {
            return;
        }
        if (Line.front() == '#') {
            if (StartsWithExtinf(Line)) {
                title = ExtinfTitle(Line);
            }
            return;
        }
        Entries.Add(title, Line, Number);
        title.clear();
    });
}

} // namespace Tunewell
