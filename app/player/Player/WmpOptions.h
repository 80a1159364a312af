#pragma once

#include "Cumulo/ReconnectBackoff.h"

#include <QString>
#include <optional>

namespace Player {

// How a player starts out; the defaults are the main window's.
struct WmpOptions {
    // A pipeline description for the audio sink, such as "fakesink sync=false" in tests. Empty:
    // the environment variable TUNEWELL_AUDIO_SINK if set, otherwise the system's sink.
    QString audioSink;
    // Setting an address starts it at once.
    bool autoStart = true;
    int volume = 50;
    // The waits before each reconnect of a dropped stream; none: the player's own (1 s, doubling
    // up to 10 s). Tests shorten them.
    std::optional<Cumulo::TReconnectBackoff> reconnectBackoff;
};

} // namespace Player
