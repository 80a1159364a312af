#pragma once

#include <string_view>

namespace Tunewell {

// Whether Published is greater than Own as text, character code by character code (a prefix
// is the smaller text): "2.3" and "2.2.1" are newer than "2.2"; "10.0" and "" are not.
bool NewerVersionPublished(std::string_view Own, std::string_view Published);

} // namespace Tunewell
