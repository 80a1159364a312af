#pragma once

#include "Player/PlaybackState.h"

#include <QString>

namespace Player {

struct StatusFacts {
    PlaybackState state = PlaybackState::Stopped;
    int bufferPercent = 0;
    FailureKind failure = FailureKind::Network;
    // Whole seconds until the next reconnect attempt.
    int secondsToReconnect = 0;
};

// The player's status line.
QString statusText(const StatusFacts &facts);

} // namespace Player
