#pragma once

#include "app/desktop/MediaPlayer2Facts.h"

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

namespace Tunewell {

class MainWindowControl;
class PlayerRemote;

// The player on the session bus as the desktop's media players are reached: the name
// org.mpris.MediaPlayer2.tunewell, the object /org/mpris/MediaPlayer2 with both interfaces.
// Changes are gathered until the event loop is next free, then announced once each.
class MediaPlayer2Service : public QObject {
    Q_OBJECT
public:
    static const QString ServiceName;
    static const QString ObjectPath;

    MediaPlayer2Service(PlayerRemote &Remote, MainWindowControl &Control, QDBusConnection Bus,
                        QObject *Parent = nullptr);
    ~MediaPlayer2Service() override;

    // Takes the object and the name; false, with the reason in Error, when the bus refuses.
    bool Register();
    QString Error() const { return Error_; }

private:
    void Gather();
    void Announce();

    PlayerRemote &Remote_;
    QDBusConnection Bus_;
    QObject Exported_;
    MediaPlayer2Facts Announced_;
    QTimer Pending_;
    QString Error_;
    bool Registered_ = false;
};

} // namespace Tunewell
