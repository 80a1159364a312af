#pragma once

#include <string>

namespace Tunewell {

// A title as the history keeps it: one line, every control character (line breaks, tabs, and
// the Unicode line and paragraph separators) folded to a blank, so no export gets a line the
// station wrote.
std::string OneLineTitle(const std::string &Title);

} // namespace Tunewell
