#pragma once

#include <string>
#include <string_view>

namespace Tunewell {

// A station name as one line: line breaks, tabs and other control characters become blanks, runs
// of blanks one blank, none at either end. Written and read playlists hold names in this form.
std::string FlatName(std::string_view Name);

} // namespace Tunewell
