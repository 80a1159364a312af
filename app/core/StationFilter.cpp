#include "app/core/StationFilter.h"

#include "app/core/SearchFolding.h"
#include "app/core/StationTable.h"

namespace Tunewell {

void TStationFilter::SetText(std::string_view Text) {
    std::string folded;
    AppendFoldedForSearch(folded, Text);
    fWords.clear();
    std::size_t start = 0;
    while (start < folded.size()) {
        const std::size_t blank = folded.find_first_of(" \t\r\n", start);
        const std::size_t end = blank == std::string::npos ? folded.size() : blank;
        if (end > start)
            fWords.push_back(folded.substr(start, end - start));
        start = end + 1;
    }
}

bool TStationFilter::Accepts(const TStationTable &Table, int Row) const {
    const TStationRow &row = Table.Rows()[static_cast<std::size_t>(Row)];
    if (fOnlyFavourites && row.Text(fpFavoritos) != "1")
        return false;
    if (fWords.empty())
        return true;
    // A line break between the fields keeps a word from matching across two of them.
    fScratch.clear();
    AppendFoldedForSearch(fScratch, row.Text(fpNome));
    fScratch += '\n';
    AppendFoldedForSearch(fScratch, row.Text(fpEstilo));
    fScratch += '\n';
    AppendFoldedForSearch(fScratch, row.Text(fpLocal));
    for (const auto &word : fWords)
        if (fScratch.find(word) == std::string::npos)
            return false;
    return true;
}

} // namespace Tunewell
