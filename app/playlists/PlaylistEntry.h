#pragma once

#include <string>

namespace Tunewell {

// One station of a playlist file: its name (may be empty) and its stream address, both UTF-8.
struct TPlaylistEntry {
    std::string Title;
    std::string Address;

    bool operator==(const TPlaylistEntry &Other) const = default;
};

} // namespace Tunewell
