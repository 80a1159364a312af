#include "app/core/AlarmSchedule.h"

#include "app/core/AlarmChoice.h"

#include <QTimeZone>

namespace Tunewell {

QDateTime NextAlarm(const AlarmChoice &Choice, const QDateTime &After, const QTimeZone &Zone) {
    const QDate today = After.toTimeZone(Zone).date();
    // Today's time may have passed: a week and a day covers every choice of days.
    for (int ahead = 0; ahead <= 7; ++ahead) {
        const QDate day = today.addDays(ahead);
        if (!Choice.RingsOn(day.dayOfWeek()))
            continue;
        const QDateTime ring(day, Choice.At, Zone);
        if (ring > After)
            return ring;
    }
    return {};
}

} // namespace Tunewell
