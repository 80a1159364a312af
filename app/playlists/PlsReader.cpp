#include "app/playlists/PlsReader.h"

#include "Cumulo/AsciiCase.h"
#include "app/playlists/PlaylistEntries.h"
#include "app/playlists/PlaylistText.h"
#include "shared/core/TrimBlanks.h"

#include <charconv>
#include <map>
#include <optional>
#include <string>

namespace Tunewell {

namespace {

struct TPlsEntry {
    std::string_view Title;
    std::string_view Address;
    int Line = 0;
};

// The N of "fileN" or "titleN" (Key in lower case); none for another key.
std::optional<long long> EntryNumber(std::string_view Key, std::string_view Prefix) {
    if (!Key.starts_with(Prefix) || Key.size() == Prefix.size()) {
        return std::nullopt;
    }
    const std::string_view digits = Key.substr(Prefix.size());
    long long number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

} // namespace

void ReadPls(std::string_view Text, TPlaylistEntries &Entries) {
    std::map<long long, TPlsEntry> byNumber;
    ForEachPlaylistLine(Text, [&](std::string_view Line, int Number) {
        Line = TrimBlanks(Line);
        const std::size_t equals = Line.find('=');
        if (Line.empty() || Line.front() == '[' || Line.front() == ';' || equals == std::string_view::npos) {
            return;
        }
        const std::string key = Cumulo::LowerAscii(std::string(TrimBlanks(Line.substr(0, equals))));
        const std::string_view value = TrimBlanks(Line.substr(equals + 1));
        if (const auto file = EntryNumber(key, "file")) {
            byNumber[*file].Address = value;
            byNumber[*file].Line = Number;
        } else if (const auto title = EntryNumber(key, "title")) {
            byNumber[*title].Title = value;
        }
    });
    for (const auto &[number, entry] : byNumber) {
        if (entry.Line != 0) {
            Entries.Add(entry.Title, entry.Address, entry.Line);
        }
    }
}

} // namespace Tunewell
