#pragma once

#include <QString>
#include <QTime>

namespace Tunewell {

// The alarm as the listener set it: a time of day, the days it rings (none: once, at the next
// time), the station and the volume it wakes with.
struct AlarmChoice {
    // Bit 0 is Monday, bit 6 Sunday.
    static constexpr unsigned EveryDay = 0x7f;

    bool On = false;
    QTime At{7, 0};
    unsigned Days = 0;
    // The station's serie, and its name as shown when it was chosen.
    QString Serie;
    QString StationName;
    int Volume = 50;

    // Day is 1 (Monday) to 7 (Sunday), as QDate counts.
    bool RingsOn(int Day) const { return Days == 0 || (Days >> (Day - 1) & 1u) != 0; }
    bool operator==(const AlarmChoice &) const = default;
};

} // namespace Tunewell
