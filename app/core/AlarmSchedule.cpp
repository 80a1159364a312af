#include "app/core/AlarmSchedule.h"

#include "app/core/AlarmChoice.h"

#include <QTimeZone>

namespace Tunewell {

namespace {
// The moment the clock of Zone shows At on Day, the first when it shows it twice, and the time
// that far past midnight when it skips it.
QDateTime Ring(const QDate &Day, const QTime &At, const QTimeZone &Zone) {
    QDateTime ring(Day, At, Zone);
    if (!ring.isValid())
        return QDateTime(Day, QTime(0, 0), Zone).addSecs(QTime(0, 0).secsTo(At));
    // Clocks are set back by at most two hours; the earliest moment showing At is the one.
    for (const int back : {7200, 3600, 1800}) {
        const QDateTime earlier = ring.addSecs(-back).toTimeZone(Zone);
        if (earlier.date() == Day && earlier.time() == At)
            return earlier;
    }
    return ring;
}
} // namespace

QDateTime NextAlarm(const AlarmChoice &Choice, const QDateTime &After, const QTimeZone &Zone) {
    const QDate today = After.toTimeZone(Zone).date();
    // Today's time may have passed: a week and a day covers every choice of days.
    for (int ahead = 0; ahead <= 7; ++ahead) {
        const QDate day = today.addDays(ahead);
        if (!Choice.RingsOn(day.dayOfWeek()))
            continue;
        const QDateTime ring = Ring(day, Choice.At, Zone);
        if (ring > After)
            return ring;
    }
    return {};
}

} // namespace Tunewell
