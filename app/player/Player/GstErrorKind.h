#pragma once

#include "Player/PlaybackState.h"

#include <gst/gst.h>

namespace Player {

// What a GStreamer error means for a radio: a missing station, a format nothing here can play,
// or a network fault worth retrying (the default, since a live station mostly fails that way).
FailureKind failureKindOf(const GError &error);

} // namespace Player
