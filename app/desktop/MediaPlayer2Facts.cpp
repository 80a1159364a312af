#include "app/desktop/MediaPlayer2Facts.h"

#include "app/core/StreamTitleParts.h"
#include "app/desktop/PlayerRemote.h"

#include <QCryptographicHash>
#include <QDBusObjectPath>
#include <QRegularExpression>

namespace Tunewell {

namespace {
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

// An object path element may hold letters, digits and "_" only.
QString TrackIdOf(const RemoteStation &Station) {
    static const QRegularExpression serie(QStringLiteral("^[0-9]+$"));
    if (serie.match(Station.Serie).hasMatch())
        return QStringLiteral("/org/tunewell/Station/") + Station.Serie;
    const QByteArray hash = QCryptographicHash::hash(Station.Url.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("/org/tunewell/Station/Url_") + QString::fromLatin1(hash);
}
} // namespace

QString PlaybackStatusOf(Player::PlaybackState State) {
    if (Player::isUnderWay(State))
        return QStringLiteral("Playing");
    return State == Player::PlaybackState::Paused ? QStringLiteral("Paused") : QStringLiteral("Stopped");
}

MediaPlayer2Facts MediaPlayer2FactsOf(const PlayerRemote &Remote) {
    MediaPlayer2Facts facts;
    facts.PlaybackStatus = PlaybackStatusOf(Remote.State());
    const RemoteStation station = Remote.Station();
    const bool hasStation = !station.Url.isEmpty();
    facts.TrackId = hasStation ? TrackIdOf(station) : kNoTrack;
    if (hasStation) {
        const StreamTitleParts parts = SplitStreamTitle(Remote.Title());
        facts.Title = parts.Title.isEmpty() ? station.Name : parts.Title;
        facts.Artist = parts.Artist;
        facts.Album = station.Name;
        facts.Url = station.Url;
    }
    facts.Volume = Remote.Volume() / 100.0;
    facts.CanGoNext = Remote.CanGoNext();
    facts.CanGoPrevious = Remote.CanGoPrevious();
    facts.CanPlay = Remote.CanPlay();
    facts.CanPause = hasStation;
    return facts;
}

QVariantMap MediaPlayer2Metadata(const MediaPlayer2Facts &Facts) {
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(Facts.TrackId))}};
    if (Facts.Url.isEmpty())
        return metadata;
    metadata.insert(QStringLiteral("xesam:url"), Facts.Url);
    if (!Facts.Title.isEmpty())
        metadata.insert(QStringLiteral("xesam:title"), Facts.Title);
    if (!Facts.Artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{Facts.Artist});
    if (!Facts.Album.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), Facts.Album);
    return metadata;
}

QVariantMap ChangedPlayerProperties(const MediaPlayer2Facts &Before, const MediaPlayer2Facts &After) {
    QVariantMap changed;
    if (Before.PlaybackStatus != After.PlaybackStatus)
        changed.insert(QStringLiteral("PlaybackStatus"), After.PlaybackStatus);
    if (Before.TrackId != After.TrackId || Before.Title != After.Title || Before.Artist != After.Artist ||
        Before.Album != After.Album || Before.Url != After.Url)
        changed.insert(QStringLiteral("Metadata"), MediaPlayer2Metadata(After));
    if (Before.Volume != After.Volume)
        changed.insert(QStringLiteral("Volume"), After.Volume);
    const std::pair<const char *, bool MediaPlayer2Facts::*> flags[] = {
        {"CanGoNext", &MediaPlayer2Facts::CanGoNext},
        {"CanGoPrevious", &MediaPlayer2Facts::CanGoPrevious},
        {"CanPlay", &MediaPlayer2Facts::CanPlay},
        {"CanPause", &MediaPlayer2Facts::CanPause},
    };
    for (const auto &[name, flag] : flags)
        if (Before.*flag != After.*flag)
            changed.insert(QString::fromLatin1(name), After.*flag);
    return changed;
}

} // namespace Tunewell
