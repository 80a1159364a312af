#pragma once

#include <cstdint>
#include <string>

namespace Tunewell {

// A title heard: the now-playing text as the player showed it, the station it came from, and
// when it started (seconds since 1970, UTC).
struct HistoryEntry {
    std::string Title;
    std::string Station;
    std::string Serie;
    std::string Url;
    std::int64_t StartedAt = 0;

    bool operator==(const HistoryEntry &) const = default;
};

} // namespace Tunewell
