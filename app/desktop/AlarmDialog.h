#pragma once

#include "app/core/AlarmChoice.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QTimeEdit;

namespace Tunewell {

// A station the alarm may play, as the dialog offers it.
struct AlarmStation {
    QString Serie;
    QString Name;
    // Why it is offered: "current", "favourite" or "last", in both languages.
    QString Why;
};

// Player → Alarm…: the time, the days (none: once), the station and the volume. "Set" turns the
// alarm on, "Turn off" off; the dialog says that it rings only while the program runs.
class AlarmDialog : public QDialog {
    Q_OBJECT
public:
    // The choice made, with On saying which button; none when the dialog was cancelled.
    using Ask = std::function<std::optional<AlarmChoice>(QWidget *Parent, const AlarmChoice &Initial,
                                                         const std::vector<AlarmStation> &Stations)>;
    static std::optional<AlarmChoice> AskWithDialog(QWidget *Parent, const AlarmChoice &Initial,
                                                    const std::vector<AlarmStation> &Stations);

    AlarmDialog(const AlarmChoice &Initial, const std::vector<AlarmStation> &Stations, QWidget *Parent);

    // What the fields hold, On as given.
    AlarmChoice Choice(bool On) const;

    QTimeEdit *TimeField = nullptr;
    std::array<QCheckBox *, 7> DayBoxes{};
    QComboBox *StationField = nullptr;
    QSpinBox *VolumeField = nullptr;

private:
    bool TurnOn_ = true;
};

} // namespace Tunewell
