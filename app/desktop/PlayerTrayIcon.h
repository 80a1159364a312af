#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

class QAction;

namespace Tunewell {

class MainWindowControl;
class PlayerRemote;

// The player in the desktop's tray: the tooltip names the station and the title, a click shows
// or hides the main window, a middle click plays or pauses, and the menu holds Play/Pause, Stop, the
// favourites (a click plays one), the last titles heard, the sleep timer and Quit.
class PlayerTrayIcon : public QObject {
    Q_OBJECT
public:
    // The items shared with the Player menu, so the tray says what the menu says.
    struct Items {
        QAction *PlayPause;
        QAction *Stop;
        QMenu *SleepTimer;
        QAction *Quit;
        // The last titles heard; none without a history.
        QMenu *RecentTitles = nullptr;
    };

    // MenuOwner: the main window, so the tray's menu never counts as a window of its own.
    PlayerTrayIcon(PlayerRemote &Remote, MainWindowControl &Control, const Items &Shared, QWidget &MenuOwner);

    QSystemTrayIcon &Icon() { return Icon_; }
    QMenu &Menu() { return *Menu_; }
    QMenu &FavouritesMenu() { return *Favourites_; }
    // A last line of the tooltip, such as the alarm set; empty for none.
    void SetNote(const QString &Note);

private:
    void FollowPlayer();
    void ListFavourites();

    PlayerRemote &Remote_;
    QMenu *Menu_;
    QMenu *Favourites_;
    QSystemTrayIcon Icon_;
    QString Note_;
};

} // namespace Tunewell
