#pragma once

namespace Player {

enum class PlaybackState { Stopped, Connecting, Buffering, Playing, Paused, Reconnecting, Failed };

// A stream is being fetched, played or reconnected: what a pause would interrupt.
bool isUnderWay(PlaybackState state);
// A station is being connected to, buffered or played: what a recording takes.
bool isHeard(PlaybackState state);

// Why a stream or a playlist could not be played. Only Network is worth retrying; Unreachable is
// a Network failure that retrying did not mend, and a station whose certificate is refused
// (Certificate) stays so until someone mends it.
enum class FailureKind { NotFound, Unsupported, Network, Unreachable, Certificate };

} // namespace Player
