#include "StillPlayerRemote.h"

namespace Tunewell::Testing {

void StillPlayerRemote::ShowTitle(const QString &Title) {
    TitleNow = Title;
    emit TitleChanged();
}

Player::PlaybackState StillPlayerRemote::State() const {
    return StateNow;
}

QString StillPlayerRemote::Title() const {
    return TitleNow;
}

RemoteStation StillPlayerRemote::Station() const {
    return StationNow;
}

int StillPlayerRemote::Volume() const {
    return 50;
}

bool StillPlayerRemote::CanGoNext() const {
    return false;
}

bool StillPlayerRemote::CanGoPrevious() const {
    return false;
}

bool StillPlayerRemote::CanPlay() const {
    return CanPlayNow;
}

std::vector<RemoteStation> StillPlayerRemote::Favourites() const {
    return {};
}

} // namespace Tunewell::Testing
