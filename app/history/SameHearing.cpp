#include "app/history/SameHearing.h"

#include "app/history/HistoryEntry.h"

#include <cstdlib>

namespace Tunewell {

bool IsSameHearing(const HistoryEntry &Newest, const HistoryEntry &Offered) {
    if (Newest.Url != Offered.Url || Newest.Title != Offered.Title)
        return false;
    // Either way: a clock set back must not make a repeat a new hearing.
    const auto apart = std::chrono::seconds(std::llabs(Offered.StartedAt - Newest.StartedAt));
    return apart < SameHearingWindow;
}

} // namespace Tunewell
