#pragma once

namespace Player {

enum class PlaybackState { Stopped, Connecting, Buffering, Playing, Paused, Reconnecting, Failed };

// Why a stream or a playlist could not be played. Only Network is worth retrying.
enum class FailureKind { NotFound, Unsupported, Network };

} // namespace Player
