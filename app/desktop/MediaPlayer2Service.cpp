#include "app/desktop/MediaPlayer2Service.h"

#include "app/desktop/BusName.h"
#include "app/desktop/MediaPlayer2Player.h"
#include "app/desktop/MediaPlayer2Root.h"
#include "app/desktop/PlayerRemote.h"

#include <QDBusMessage>

namespace Tunewell {

const QString MediaPlayer2Service::ServiceName = QStringLiteral("org.mpris.MediaPlayer2.tunewell");
const QString MediaPlayer2Service::ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

MediaPlayer2Service::MediaPlayer2Service(PlayerRemote &Remote, MainWindowControl &Control,
                                         QDBusConnection Bus, QObject *Parent)
    : QObject(Parent), Remote_(Remote), Bus_(std::move(Bus)) {
    new MediaPlayer2Root(&Exported_, Control);
    new MediaPlayer2Player(&Exported_, Remote_);
    Pending_.setSingleShot(true);
    Pending_.setInterval(0);
    connect(&Pending_, &QTimer::timeout, this, &MediaPlayer2Service::Announce);
    for (auto signal :
         {&PlayerRemote::StateChanged, &PlayerRemote::TitleChanged, &PlayerRemote::StationChanged,
          &PlayerRemote::VolumeChanged, &PlayerRemote::RowsChanged})
        connect(&Remote_, signal, this, &MediaPlayer2Service::Gather);
}

MediaPlayer2Service::~MediaPlayer2Service() {
    if (!Registered_)
        return;
    Bus_.unregisterService(ServiceName);
    Bus_.unregisterObject(ObjectPath);
}

bool MediaPlayer2Service::Register() {
    if (!Bus_.registerObject(ObjectPath, &Exported_, QDBusConnection::ExportAdaptors)) {
        Error_ = QStringLiteral("the object %1 is taken").arg(ObjectPath);
        return false;
    }
    // The object first: whoever sees the name appear finds it ready.
    if (const BusNameClaim claim = ClaimBusName(Bus_, ServiceName);
        claim.Outcome != BusNameClaim::TOutcome::Owned) {
        Error_ = claim.Reason;
        Bus_.unregisterObject(ObjectPath);
        return false;
    }
    Registered_ = true;
    Announced_ = MediaPlayer2FactsOf(Remote_);
    return true;
}

void MediaPlayer2Service::Gather() {
    if (Registered_ && !Pending_.isActive())
        Pending_.start();
}

void MediaPlayer2Service::Announce() {
    const MediaPlayer2Facts now = MediaPlayer2FactsOf(Remote_);
    const QVariantMap changed = ChangedPlayerProperties(Announced_, now);
    Announced_ = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    Bus_.send(signal);
}

} // namespace Tunewell
