#pragma once

#include <cstddef>

namespace Tunewell {

// What a playlist file may hold before it is refused whole. The address and name limits are the
// cloud's (the station table's url and nome fields), so whatever is read can be kept there.
inline constexpr std::size_t PlaylistMaxFileBytes = 1024 * 1024;
inline constexpr std::size_t PlaylistMaxLineBytes = 8 * 1024;
inline constexpr std::size_t PlaylistMaxEntries = 5000;
inline constexpr int PlaylistMaxAddressCharacters = 200;
inline constexpr int PlaylistMaxNameCharacters = 150;

} // namespace Tunewell
