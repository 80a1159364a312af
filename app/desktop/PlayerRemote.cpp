#include "app/desktop/PlayerRemote.h"

namespace Tunewell {

bool PlayerRemote::UnderWay() const {
    return Player::isUnderWay(State());
}

void PlayerRemote::PlayPause() {
    if (UnderWay())
        Pause();
    else
        Play();
}

} // namespace Tunewell
