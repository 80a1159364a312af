#include "Cumulo/Clock.h"

#include "Cumulo/Helpers.h"

#include <chrono>

namespace Cumulo {

TDateTime TSystemClock::Now() const {
    // Days from the date-time epoch (1899-12-30) to the Unix epoch.
    constexpr double UnixEpochDays = 25569.0;
    constexpr double MillisecondsPerDay = 86400000.0;
    auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    return TFirebaseHelpers::ConvertToLocalDateTime(UnixEpochDays +
                                                    static_cast<double>(milliseconds) / MillisecondsPerDay);
}

std::shared_ptr<const IClock> SystemClock() {
    static const std::shared_ptr<const IClock> clock = std::make_shared<TSystemClock>();
    return clock;
}

} // namespace Cumulo
