#pragma once

#include "app/core/AlarmChoice.h"

#include <QString>
#include <optional>

namespace Tunewell {

// The player's choices kept in the settings store beside the profile ID, each under its own
// value name in the section "Player", so that they survive a restart. A value that is missing
// or that cannot be read gives the default; a choice that cannot be written is logged, and the
// player goes on.
class PlayerSettings {
public:
    static constexpr int DefaultSleepMinutes = 30;
    static constexpr int LongestSleepMinutes = 24 * 60;

    // 0 to 100; none when the user never chose one.
    std::optional<int> Volume() const;
    void SetVolume(int Percent) const;
    // Off by default.
    bool TitleNotices() const;
    void SetTitleNotices(bool On) const;
    // The last duration chosen for the sleep timer, 1 to LongestSleepMinutes.
    int SleepMinutes() const;
    void SetSleepMinutes(int Minutes) const;
    // Off by default.
    bool CloseToTray() const;
    void SetCloseToTray(bool On) const;
    // Off, at 07:00, once, at volume 50 by default; a part that cannot be read takes its default.
    AlarmChoice Alarm() const;
    void SetAlarm(const AlarmChoice &Choice) const;
    // The folder of the file last chosen in a file dialog; empty when none was.
    QString LastFolder() const;
    void SetLastFolder(const QString &Folder) const;

private:
    std::optional<int> Number(const QString &Name, int Lowest, int Highest) const;
    // "1" is on; anything else, or nothing, off.
    bool Flag(const QString &Name) const;
    QString Text(const QString &Name) const;
    void Write(const QString &Name, const QString &Value) const;
    void WriteFlag(const QString &Name, bool On) const;
};

} // namespace Tunewell
