#include "app/core/StationFilter.h"

#include "app/core/SearchFolding.h"
#include "app/core/StationTable.h"

namespace Tunewell {

void TStationFilter::SetText(std::string_view Text) {
    fWords = FoldedSearchWords(Text);
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
    return HoldsEveryWord(fScratch, fWords);
}

} // namespace Tunewell
