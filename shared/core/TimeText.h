#pragma once

#include <ctime>
#include <string>

namespace Tunewell {

// The local time of day in the user's long time format, UTF-8.
std::string TimeText(std::time_t When);
// The local date in the user's short date format, UTF-8.
std::string DateText(std::time_t When);

} // namespace Tunewell
