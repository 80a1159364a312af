#include "app/playlists/PlaylistText.h"

#include "Cumulo/Utf8.h"
#include "app/playlists/PlaylistLimits.h"
#include "app/playlists/PlaylistMessages.h"

namespace Tunewell {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool IsBinary(char32_t Character) {
    return (Character < 0x20 && Character != '\t' && Character != '\r' && Character != '\n') ||
           Character == 0x7F;
}

// The walk yields U+FFFD for a malformed sequence; only the real character is three bytes.
bool Malformed(std::string_view Bytes, std::size_t Start, char32_t Character) {
    return Character == 0xFFFD && Bytes.substr(Start, kReplacementCharacter.size()) != kReplacementCharacter;
}

} // namespace

bool IsUtf8Text(std::string_view Bytes) {
    std::size_t pos = 0;
    while (pos < Bytes.size()) {
        const std::size_t start = pos;
        if (Malformed(Bytes, start, Cumulo::NextCodePoint(Bytes, pos))) {
            return false;
        }
    }
    return true;
}

std::string Latin1AsUtf8(std::string_view Bytes) {
    std::string text;
    text.reserve(Bytes.size() * 2);
    for (const char byte : Bytes) {
        Cumulo::AppendUtf8(text, static_cast<unsigned char>(byte));
    }
    return text;
}

std::string_view CheckedPlaylistText(std::string_view Bytes) {
    if (Bytes.starts_with(kByteOrderMark)) {
        Bytes.remove_prefix(kByteOrderMark.size());
    }
    int line = 1;
    std::size_t pos = 0;
    while (pos < Bytes.size()) {
        const std::size_t start = pos;
        const char32_t character = Cumulo::NextCodePoint(Bytes, pos);
        if (Malformed(Bytes, start, character)) {
            throw PlaylistRefusal::NotUtf8(line);
        }
        if (IsBinary(character)) {
            throw PlaylistRefusal::Binary(line);
        }
        if (character == '\n' || (character == '\r' && (pos == Bytes.size() || Bytes[pos] != '\n'))) {
            ++line;
        }
    }
    return Bytes;
}

void ForEachPlaylistLine(std::string_view Text, const std::function<void(std::string_view, int)> &Visit) {
    int number = 1;
    while (!Text.empty()) {
        const std::size_t end = Text.find_first_of("\r\n");
        const std::string_view line = Text.substr(0, end);
        if (line.size() > PlaylistMaxLineBytes) {
            throw PlaylistRefusal::LineTooLong(number);
        }
        Visit(line, number++);
        if (end == std::string_view::npos) {
            break;
        }
        const bool crlf = Text[end] == '\r' && end + 1 < Text.size() && Text[end + 1] == '\n';
        Text.remove_prefix(end + (crlf ? 2 : 1));
    }
}

} // namespace Tunewell
