#pragma once

#include "app/stationtrial/StationTrialResult.h"

#include <chrono>
#include <string>

namespace Tunewell {

// The longest a trial waits for a station, the playlist and the stream together.
inline constexpr std::chrono::seconds kStationTrialBound{8};

// Tries a station's address as the player would reach it, blocking (never on the UI thread): a
// playlist (.pls, .m3u, or one answered as such) is fetched and its first stream tried; the stream
// must answer with audio. Nothing is played: the transfer ends at the first bytes of audio. Nothing
// is thrown; every failure is a result.
TStationTrialResult TryStationAddress(const std::string &Url,
                                      std::chrono::milliseconds Bound = kStationTrialBound);

} // namespace Tunewell
