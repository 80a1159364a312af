#pragma once

#include "app/stationtrial/StationTrialResult.h"

#include <chrono>
#include <string>

namespace Tunewell {

// What the trial found, in English and Portuguese, as one line: "Answers: audio/mpeg, 128 kb/s / ...".
std::string StationTrialText(const TStationTrialResult &Result, std::chrono::milliseconds Bound);

} // namespace Tunewell
