#include "app/history/HistoryList.h"

#include "app/core/SearchFolding.h"

namespace Tunewell {

std::string FoldedHistoryText(const HistoryEntry &Entry) {
    std::string folded;
    AppendFoldedForSearch(folded, Entry.Title);
    // A line break keeps a word from matching across the two.
    folded += '\n';
    AppendFoldedForSearch(folded, Entry.Station);
    return folded;
}

HistoryList MakeHistoryList(std::vector<HistoryEntry> Entries) {
    HistoryList list;
    list.Folded.reserve(Entries.size());
    for (const auto &entry : Entries)
        list.Folded.push_back(FoldedHistoryText(entry));
    list.Entries = std::move(Entries);
    return list;
}

} // namespace Tunewell
