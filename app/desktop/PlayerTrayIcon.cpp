#include "app/desktop/PlayerTrayIcon.h"

#include "app/desktop/MainWindowControl.h"
#include "app/desktop/PlayerRemote.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QIcon>

namespace Tunewell {

PlayerTrayIcon::PlayerTrayIcon(PlayerRemote &Remote, MainWindowControl &Control, const Items &Shared,
                               QWidget &MenuOwner)
    : Remote_(Remote), Menu_(new QMenu(&MenuOwner)),
      Favourites_(new QMenu(QStringLiteral("Favourites"), Menu_)) {
    Menu_->setObjectName(QStringLiteral("TrayMenu"));
    Menu_->addAction(Shared.PlayPause);
    Menu_->addAction(Shared.Stop);
    Menu_->addSeparator();
    Menu_->addMenu(Favourites_);
    if (Shared.RecentTitles)
        Menu_->addMenu(Shared.RecentTitles);
    Menu_->addMenu(Shared.SleepTimer);
    Menu_->addSeparator();
    Menu_->addAction(Shared.Quit);
    connect(Favourites_, &QMenu::aboutToShow, this, Guarded([this] { ListFavourites(); }));

    Icon_.setIcon(
        QIcon::fromTheme(QStringLiteral("tunewell"), QIcon(QStringLiteral(":/images/ImageList1/2.xpm"))));
    Icon_.setContextMenu(Menu_);
    connect(&Icon_, &QSystemTrayIcon::activated, &Control,
            [this, &Control](QSystemTrayIcon::ActivationReason Reason) {
                if (Reason == QSystemTrayIcon::Trigger)
                    RunHandler([&] { Control.ToggleShown(); });
                else if (Reason == QSystemTrayIcon::MiddleClick)
                    RunHandler([this] { Remote_.PlayPause(); });
            });
    for (auto signal : {&PlayerRemote::StationChanged, &PlayerRemote::TitleChanged})
        connect(&Remote_, signal, this, &PlayerTrayIcon::FollowPlayer);
    FollowPlayer();
}

void PlayerTrayIcon::FollowPlayer() {
    const QString station = Remote_.Station().Name;
    const QString title = Remote_.Title();
    QStringList lines;
    for (const QString &line : {station, title, Note_})
        if (!line.isEmpty())
            lines << line;
    Icon_.setToolTip(lines.isEmpty() ? QStringLiteral("Tunewell") : lines.join(QLatin1Char('\n')));
}

void PlayerTrayIcon::SetNote(const QString &Note) {
    Note_ = Note;
    FollowPlayer();
}

void PlayerTrayIcon::ListFavourites() {
    Favourites_->clear();
    const auto favourites = Remote_.Favourites();
    if (favourites.empty()) {
        Favourites_->addAction(QStringLiteral("No favourites"))->setEnabled(false);
        return;
    }
    for (const RemoteStation &station : favourites) {
        // A name's "&" is not a mnemonic.
        QAction *item =
            Favourites_->addAction(QString(station.Name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(item, &QAction::triggered, &Remote_,
                Guarded([this, serie = station.Serie] { Remote_.PlayFavourite(serie); }));
    }
}

} // namespace Tunewell
