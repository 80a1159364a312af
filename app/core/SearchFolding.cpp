#include "app/core/SearchFolding.h"

#include <QChar>
#include <QString>
#include <array>

namespace Tunewell {

namespace {

// The Latin letters with accents (and their capitals) are all below U+0250.
constexpr char32_t kTableEnd = 0x250;

void AppendUtf8(std::string &Out, char32_t CodePoint) {
    if (CodePoint < 0x80) {
        Out += static_cast<char>(CodePoint);
    } else if (CodePoint < 0x800) {
        Out += static_cast<char>(0xC0 | (CodePoint >> 6));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else if (CodePoint < 0x10000) {
        Out += static_cast<char>(0xE0 | (CodePoint >> 12));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (CodePoint >> 18));
        Out += static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    }
}

char32_t Folded(char32_t CodePoint) {
    const QString decomposed = QChar::decomposition(CodePoint);
    // A letter with an accent decomposes into its base letter first.
    const char32_t base = !decomposed.isEmpty() && QChar::decompositionTag(CodePoint) == QChar::Canonical
                              ? decomposed.at(0).unicode()
                              : CodePoint;
    return QChar::toCaseFolded(base);
}

// Worked out once: the folded form of every code point below the table's end.
const std::array<char32_t, kTableEnd> &FoldingTable() {
    static const std::array<char32_t, kTableEnd> table = [] {
        std::array<char32_t, kTableEnd> folded{};
        for (char32_t c = 0; c < kTableEnd; ++c)
            folded[c] = Folded(c);
        return folded;
    }();
    return table;
}

// The code point starting at Text[At] and its length in bytes; 0 length for a stray byte.
std::pair<char32_t, std::size_t> Decode(std::string_view Text, std::size_t At) {
    const auto lead = static_cast<unsigned char>(Text[At]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || At + length > Text.size())
        return {0, 0};
    char32_t c = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(Text[At + i]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        c = (c << 6) | (next & 0x3F);
    }
    return {c, length};
}

} // namespace

void AppendFoldedForSearch(std::string &Out, std::string_view Text) {
    const auto &table = FoldingTable();
    for (std::size_t i = 0; i < Text.size();) {
        const auto byte = static_cast<unsigned char>(Text[i]);
        if (byte < 0x80) {
            Out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
            ++i;
            continue;
        }
        const auto [c, length] = Decode(Text, i);
        if (length == 0) {
            Out += Text[i++];
            continue;
        }
        AppendUtf8(Out, c < kTableEnd ? table[c] : Folded(c));
        i += length;
    }
}

} // namespace Tunewell
