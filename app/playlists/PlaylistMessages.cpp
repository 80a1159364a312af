#include "app/playlists/PlaylistMessages.h"

#include "app/playlists/PlaylistLimits.h"
#include "shared/core/CutToCharacters.h"

namespace Tunewell::PlaylistRefusal {

namespace {

// Enough of an address to recognise it; a hostile one may be a whole 8 KiB line.
constexpr int kShownAddressCharacters = 60;

std::string Shown(std::string_view Address) {
    const std::string_view cut = CutToCharacters(Address, kShownAddressCharacters);
    std::string shown(cut);
    if (cut.size() < Address.size()) {
        shown += "\u2026";
    }
    return shown;
}

PlaylistError Refusal(const std::string &English, const std::string &Portuguese) {
    return PlaylistError(English + " / " + Portuguese);
}

} // namespace

PlaylistError CannotRead(const std::string &Reason) {
    return Refusal("The file could not be read: " + Reason + ".",
                   "O arquivo n\u00E3o p\u00F4de ser lido: " + Reason + ".");
}

PlaylistError NotAFile() {
    return Refusal("This is not an ordinary file.", "Isto n\u00E3o \u00E9 um arquivo comum.");
}

PlaylistError TooLarge() {
    return Refusal("The file is larger than 1 MiB; a playlist is much smaller.",
                   "O arquivo tem mais de 1 MiB; uma lista \u00E9 bem menor.");
}

PlaylistError Binary(int Line) {
    const std::string line = std::to_string(Line);
    return Refusal("Line " + line + " holds binary data: this is not a playlist.",
                   "A linha " + line + " cont\u00E9m dados bin\u00E1rios: isto n\u00E3o \u00E9 uma lista.");
}

PlaylistError NotUtf8(int Line) {
    const std::string line = std::to_string(Line);
    return Refusal("Line " + line + " is not UTF-8 text; save the playlist as UTF-8.",
                   "A linha " + line + " n\u00E3o \u00E9 texto UTF-8; salve a lista como UTF-8.");
}

PlaylistError LineTooLong(int Line) {
    const std::string line = std::to_string(Line);
    return Refusal("Line " + line + " is longer than 8 KiB.", "A linha " + line + " tem mais de 8 KiB.");
}

PlaylistError TooManyEntries() {
    return Refusal("The playlist has more than 5,000 stations.",
                   "A lista tem mais de 5.000 esta\u00E7\u00F5es.");
}

PlaylistError NotAnAddress(int Line, std::string_view Address) {
    const std::string line = std::to_string(Line);
    const std::string shown = "\u201C" + Shown(Address) + "\u201D";
    return Refusal("Line " + line + ": " + shown + " is not an http:// or https:// address with a server.",
                   "Linha " + line + ": " + shown +
                       " n\u00E3o \u00E9 um endere\u00E7o http:// ou https:// com servidor.");
}

PlaylistError AddressTooLong(int Line) {
    const std::string line = std::to_string(Line);
    const std::string limit = std::to_string(PlaylistMaxAddressCharacters);
    return Refusal("Line " + line + ": the address is longer than " + limit + " characters.",
                   "Linha " + line + ": o endere\u00E7o tem mais de " + limit + " caracteres.");
}

PlaylistError UnknownFormat() {
    return Refusal("The file is not an M3U, PLS or XSPF playlist.",
                   "O arquivo n\u00E3o \u00E9 uma lista M3U, PLS ou XSPF.");
}

PlaylistError Doctype() {
    return Refusal("The XML file declares a DOCTYPE or entities, which are not read.",
                   "O arquivo XML declara um DOCTYPE ou entidades, que n\u00E3o s\u00E3o lidos.");
}

PlaylistError MalformedXml(int Line, const std::string &Detail) {
    const std::string line = std::to_string(Line);
    // The XML reader's own text ends with its full stop.
    const std::string detail = Detail.ends_with('.') ? Detail.substr(0, Detail.size() - 1) : Detail;
    return Refusal("The XML is malformed at line " + line + ": " + detail + ".",
                   "O XML est\u00E1 malformado na linha " + line + ": " + detail + ".");
}

PlaylistError NotXspf() {
    return Refusal("The XML file is not an XSPF playlist.", "O arquivo XML n\u00E3o \u00E9 uma lista XSPF.");
}

PlaylistError NoStations() {
    return Refusal("The playlist has no stations.", "A lista n\u00E3o tem esta\u00E7\u00F5es.");
}

} // namespace Tunewell::PlaylistRefusal
