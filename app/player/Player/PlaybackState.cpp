#include "Player/PlaybackState.h"

namespace Player {

bool isUnderWay(PlaybackState state) {
    return state == PlaybackState::Connecting || state == PlaybackState::Buffering ||
           state == PlaybackState::Playing || state == PlaybackState::Reconnecting;
}

bool isHeard(PlaybackState state) {
    return state == PlaybackState::Connecting || state == PlaybackState::Buffering ||
           state == PlaybackState::Playing;
}

} // namespace Player
