#include "app/desktop/PlayerCommands.h"

#include "app/desktop/PlayerRemote.h"
#include "app/ui/PlayerMenu.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QKeySequence>

namespace Tunewell {

PlayerCommands::PlayerCommands(PlayerMenu &Menu, PlayerRemote &Remote) {
    PlaySelected = Menu.AddItem(QStringLiteral("Play selected station"), QKeySequence(Qt::Key_Return));
    // The keypad's Enter as well; the menu shows the first key.
    PlaySelected->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    PlayPause = Menu.AddItem(QStringLiteral("Play/Pause"), QKeySequence(Qt::Key_Space));
    Stop = Menu.AddItem(QStringLiteral("Stop"), QKeySequence(Qt::CTRL | Qt::Key_Period));
    Previous = Menu.AddItem(QStringLiteral("Previous station"), QKeySequence(Qt::CTRL | Qt::Key_Left));
    Next = Menu.AddItem(QStringLiteral("Next station"), QKeySequence(Qt::CTRL | Qt::Key_Right));
    Menu.addSeparator();
    VolumeUp = Menu.AddItem(QStringLiteral("Volume up"), QKeySequence(Qt::CTRL | Qt::Key_Up));
    VolumeDown = Menu.AddItem(QStringLiteral("Volume down"), QKeySequence(Qt::CTRL | Qt::Key_Down));

    connect(PlaySelected, &QAction::triggered, &Remote, Guarded([&Remote] { Remote.PlaySelected(); }));
    connect(PlayPause, &QAction::triggered, &Remote, Guarded([&Remote] { Remote.PlayPause(); }));
    connect(Stop, &QAction::triggered, &Remote, Guarded([&Remote] { Remote.Stop(); }));
    connect(Previous, &QAction::triggered, &Remote, Guarded([&Remote] { Remote.Previous(); }));
    connect(Next, &QAction::triggered, &Remote, Guarded([&Remote] { Remote.Next(); }));
    connect(VolumeUp, &QAction::triggered, &Remote,
            Guarded([&Remote] { Remote.SetVolume(Remote.Volume() + VolumeStep); }));
    connect(VolumeDown, &QAction::triggered, &Remote,
            Guarded([&Remote] { Remote.SetVolume(Remote.Volume() - VolumeStep); }));
}

} // namespace Tunewell
