#pragma once

#include "app/history/HistoryEntry.h"
#include "app/history/SqliteConnection.h"

#include <string>
#include <vector>

namespace Tunewell {

// The titles heard, in one SQLite file: written ahead (WAL) and synced at each commit, one
// transaction per title, so a crash loses at most a title not yet added. Errors are
// EHistoryError.
class HistoryDatabase {
public:
    // The newest titles kept; older ones go as new ones come.
    static constexpr int MostTitles = 10000;

    // Opens or creates the file (":memory:" for none) and checks it; a file that is not a
    // database, or a damaged one, throws an EHistoryError that says so.
    explicit HistoryDatabase(const std::string &Path, int Bound = MostTitles);

    // Adds the title unless it repeats the newest entry of its station (IsSameHearing); the
    // oldest entries past the bound go in the same transaction. True when added.
    bool Add(const HistoryEntry &Entry);
    // The newest entries first, at most Limit.
    std::vector<HistoryEntry> Newest(int Limit);

private:
    SqliteConnection Connection_;
    int Bound_;
};

} // namespace Tunewell
