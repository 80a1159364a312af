#pragma once

#include "app/history/HistoryEntry.h"

#include <string>
#include <vector>

namespace Tunewell {

// Entries as a window lists them, newest first, each with the folded text it is found by (its
// title and its station), worked out once where the entries are read.
struct HistoryList {
    std::vector<HistoryEntry> Entries;
    std::vector<std::string> Folded;
};

HistoryList MakeHistoryList(std::vector<HistoryEntry> Entries);
// The folded text of one entry, as MakeHistoryList works it out.
std::string FoldedHistoryText(const HistoryEntry &Entry);

} // namespace Tunewell
