#pragma once

#include <QDateTime>
#include <chrono>

class QTimeZone;

namespace Tunewell {

struct AlarmChoice;

// How late an alarm still rings: a machine that wakes from sleep a little after the time rings
// at once; later than this it waits for the next time, and says it missed one.
inline constexpr std::chrono::minutes AlarmLatest{5};

// The first moment after After when the alarm rings, on the clock of Zone: its time on one of
// its days (any day when none is chosen). A time the clock skips (a change to summer time) rings
// when the clock has moved on, at the same distance past the skip; a time the clock passes twice
// rings the first time only.
QDateTime NextAlarm(const AlarmChoice &Choice, const QDateTime &After, const QTimeZone &Zone);

} // namespace Tunewell
