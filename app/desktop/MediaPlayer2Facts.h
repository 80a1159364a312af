#pragma once

#include "Player/PlaybackState.h"

#include <QString>
#include <QVariantMap>

namespace Tunewell {

class PlayerRemote;

// The player's properties of the desktop's media interface that change, as plain values, so a
// change can be told from a repeat of the same value.
struct MediaPlayer2Facts {
    QString PlaybackStatus;
    // The object path naming the station, or the interface's "no track" path.
    QString TrackId;
    QString Title;
    QString Artist;
    QString Album;
    QString Url;
    double Volume = 0;
    bool CanGoNext = false;
    bool CanGoPrevious = false;
    bool CanPlay = false;
    bool CanPause = false;
    bool operator==(const MediaPlayer2Facts &) const = default;
};

// "Playing" while a stream is fetched, played or reconnected, "Paused", or "Stopped".
QString PlaybackStatusOf(Player::PlaybackState State);
MediaPlayer2Facts MediaPlayer2FactsOf(const PlayerRemote &Remote);
// The Metadata property: the track ID always, the rest when there is a station.
QVariantMap MediaPlayer2Metadata(const MediaPlayer2Facts &Facts);
// The properties of After that differ from Before, as PropertiesChanged carries them.
QVariantMap ChangedPlayerProperties(const MediaPlayer2Facts &Before, const MediaPlayer2Facts &After);

} // namespace Tunewell
