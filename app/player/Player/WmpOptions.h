#pragma once

#include <QString>

namespace Player {

// How a player starts out; the defaults are the main window's.
struct WmpOptions {
    // A pipeline description for the audio sink, such as "fakesink sync=false" in tests. Empty:
    // the environment variable TUNEWELL_AUDIO_SINK if set, otherwise the system's sink.
    QString audioSink;
    // Setting an address starts it at once.
    bool autoStart = true;
    int volume = 50;
};

} // namespace Player
