#pragma once

#include <QString>

class QWidget;

namespace Tunewell {

// What the main window asks of its player control Wmp. The program binds the stream player
// widget; window tests bind a recorder.
class IStationPlayer {
public:
    virtual ~IStationPlayer() = default;
    // The control to place in the window; the window takes it over as a child.
    virtual QWidget *Widget() = 0;
    virtual QString URL() const = 0;
    virtual void SetURL(const QString &Url) = 0;
    // controls.play
    virtual void Play() = 0;
    virtual void SetEnableContextMenu(bool Enabled) = 0;
};

} // namespace Tunewell
