#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Tunewell {

class TStationTable;

// Which stations the grid shows: those holding every typed word (in any order, each within the
// name, the style or the location, case and accents ignored) and, when asked, only favourites.
// It reads the table's rows where they are and keeps no copy of them.
class TStationFilter {
public:
    void SetText(std::string_view Text);
    void SetOnlyFavourites(bool Only) { fOnlyFavourites = Only; }
    bool OnlyFavourites() const { return fOnlyFavourites; }
    // False when every row passes.
    bool Active() const { return fOnlyFavourites || !fWords.empty(); }

    bool Accepts(const TStationTable &Table, int Row) const;

private:
    std::vector<std::string> fWords;
    bool fOnlyFavourites = false;
    // The row's folded texts, reused from row to row.
    mutable std::string fScratch;
};

} // namespace Tunewell
