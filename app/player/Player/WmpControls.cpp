#include "Player/WmpControls.h"

#include "Player/PlaybackSession.h"
#include "Player/Wmp.h"

namespace Player {

void WmpControls::play() {
    player_.session().play(player_.URL());
}

void WmpControls::pause() {
    player_.session().pause();
}

void WmpControls::stop() {
    player_.session().stop();
}

} // namespace Player
