#pragma once

#include "app/core/OwnStation.h"
#include "shared/core/WindowCloud.h"

#include <optional>
#include <string>
#include <vector>

namespace Tunewell {

// The cloud steps of stations of one's own, run off the UI thread in a window's turn.

// CADASTRADO/<profile>/PROPRIAS, or a station below it.
Cumulo::TStringDynArray OwnStationsPath(const std::string &ProfileID, const std::string &Below = {});
// The serie for the next new station: below every one Known and every one the cloud holds now,
// so that a serie given on another computer meanwhile is not given twice.
std::int64_t NextOwnSerieInTheCloud(WindowCloud &Cloud, const std::string &ProfileID,
                                    std::vector<TOwnStation> Known);
// Adds the station under a key the database gives; the key once the cloud acknowledged it.
std::optional<std::string> PostOwnStation(WindowCloud &Cloud, const std::string &ProfileID,
                                          const TOwnStation &Station);

} // namespace Tunewell
