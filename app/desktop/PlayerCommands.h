#pragma once

#include <QObject>

class QAction;

namespace Tunewell {

class PlayerMenu;
class PlayerRemote;

// The Player menu's playback items and their keys: Enter plays the selected row as a click
// does, Space plays or pauses, Ctrl+Up and Ctrl+Down change the volume.
class PlayerCommands : public QObject {
    Q_OBJECT
public:
    static constexpr int VolumeStep = 5;

    PlayerCommands(PlayerMenu &Menu, PlayerRemote &Remote);

    QAction *PlaySelected = nullptr;
    QAction *PlayPause = nullptr;
    QAction *Stop = nullptr;
    QAction *Previous = nullptr;
    QAction *Next = nullptr;
    QAction *VolumeUp = nullptr;
    QAction *VolumeDown = nullptr;
};

} // namespace Tunewell
