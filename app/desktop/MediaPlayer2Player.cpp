#include "app/desktop/MediaPlayer2Player.h"

#include "app/desktop/MediaPlayer2Facts.h"
#include "app/desktop/PlayerRemote.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QTimer>
#include <cmath>

namespace Tunewell {

MediaPlayer2Player::MediaPlayer2Player(QObject *Exported, PlayerRemote &Remote)
    : QDBusAbstractAdaptor(Exported), Remote_(Remote) {}

QString MediaPlayer2Player::PlaybackStatus() const {
    return MediaPlayer2FactsOf(Remote_).PlaybackStatus;
}

QVariantMap MediaPlayer2Player::Metadata() const {
    return MediaPlayer2Metadata(MediaPlayer2FactsOf(Remote_));
}

double MediaPlayer2Player::Volume() const {
    return MediaPlayer2FactsOf(Remote_).Volume;
}

void MediaPlayer2Player::SetVolume(double Volume) {
    // Above 1.0 the slider is at its end; below 0 the player is silent.
    if (std::isnan(Volume))
        return;
    Remote_.SetVolume(static_cast<int>(std::lround(std::clamp(Volume, 0.0, 1.0) * 100)));
}

void MediaPlayer2Player::SetRate(double Rate) {
    if (Rate == 0.0)
        Pause();
}

bool MediaPlayer2Player::CanGoNext() const {
    return MediaPlayer2FactsOf(Remote_).CanGoNext;
}

bool MediaPlayer2Player::CanGoPrevious() const {
    return MediaPlayer2FactsOf(Remote_).CanGoPrevious;
}

bool MediaPlayer2Player::CanPlay() const {
    return MediaPlayer2FactsOf(Remote_).CanPlay;
}

bool MediaPlayer2Player::CanPause() const {
    return MediaPlayer2FactsOf(Remote_).CanPause;
}

void MediaPlayer2Player::Later(std::function<void()> Command) {
    QTimer::singleShot(0, &Remote_, Guarded(std::move(Command)));
}

void MediaPlayer2Player::Next() {
    Later([this] { Remote_.Next(); });
}

void MediaPlayer2Player::Previous() {
    Later([this] { Remote_.Previous(); });
}

void MediaPlayer2Player::Pause() {
    Later([this] { Remote_.Pause(); });
}

void MediaPlayer2Player::PlayPause() {
    Later([this] { Remote_.PlayPause(); });
}

void MediaPlayer2Player::Stop() {
    Later([this] { Remote_.Stop(); });
}

void MediaPlayer2Player::Play() {
    Later([this] { Remote_.Play(); });
}

void MediaPlayer2Player::Seek(qlonglong) {}

void MediaPlayer2Player::SetPosition(const QDBusObjectPath &, qlonglong) {}

void MediaPlayer2Player::OpenUri(const QString &) {}

} // namespace Tunewell
