#include "app/core/SearchFolding.h"

#include "Cumulo/Utf8.h"

#include <QChar>
#include <QString>
#include <array>

namespace Tunewell {

namespace {

// The Latin letters with accents (and their capitals) are all below U+0250.
constexpr char32_t kTableEnd = 0x250;

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

} // namespace

void AppendFoldedForSearch(std::string &Out, std::string_view Text) {
    const auto &table = FoldingTable();
    for (std::size_t i = 0; i < Text.size();) {
        const auto byte = static_cast<unsigned char>(Text[i]);
        if (byte < 0x80) {
            Out += static_cast<char>(table[byte]);
            ++i;
            continue;
        }
        std::size_t next = i;
        const char32_t c = Cumulo::NextCodePoint(Text, next);
        // Only a byte that starts no character is passed over alone: it is kept as it is.
        if (next == i + 1) {
            Out += Text[i++];
            continue;
        }
        Cumulo::AppendUtf8(Out, c < kTableEnd ? table[c] : Folded(c));
        i = next;
    }
}

std::vector<std::string> FoldedSearchWords(std::string_view Text) {
    std::string folded;
    AppendFoldedForSearch(folded, Text);
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < folded.size()) {
        const std::size_t blank = folded.find_first_of(" \t\r\n", start);
        const std::size_t end = blank == std::string::npos ? folded.size() : blank;
        if (end > start)
            words.push_back(folded.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

bool HoldsEveryWord(std::string_view Folded, const std::vector<std::string> &Words) {
    for (const auto &word : Words)
        if (Folded.find(word) == std::string_view::npos)
            return false;
    return true;
}

} // namespace Tunewell
