#pragma once

#include <chrono>

namespace Tunewell {

struct HistoryEntry;

// How long after a station's newest entry the same title from that station is still the same
// hearing: a reconnect, a return to the station, or the station sending its title again.
inline constexpr std::chrono::minutes SameHearingWindow{30};

// True when Offered repeats Newest, the newest entry of the station Offered comes from: the same
// title from the same address, started less than SameHearingWindow away from Newest's start.
bool IsSameHearing(const HistoryEntry &Newest, const HistoryEntry &Offered);

} // namespace Tunewell
