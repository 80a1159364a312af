#pragma once

#include "Player/PlaybackState.h"

#include <QString>
#include <chrono>
#include <string>
#include <variant>

namespace Player {

// What the listener asks for.
struct PlayRequested {
    QString url;
};
struct PauseRequested {};
struct StopRequested {};

// What a playlist fetch produced: the first stream it names (empty when it names none).
struct PlaylistResolved {
    QString stream;
};
struct PlaylistFailed {
    FailureKind kind;
    QString detail;
};

// What the engine reports.
struct BufferingProgress {
    int percent;
};
struct StreamStarted {};
struct StreamEnded {};
struct StreamFailed {
    FailureKind kind;
    QString detail;
};
// The raw bytes of a title tag; decoding and repeats are the session's business.
struct TitleTag {
    std::string bytes;
};

struct ReconnectDue {};

// What a look at a failed stream's address found: its certificate refused, or not.
struct CertificateChecked {
    bool refused = false;
    QString detail;
};

using PlaybackEvent = std::variant<PlayRequested, PauseRequested, StopRequested, PlaylistResolved,
                                   PlaylistFailed, BufferingProgress, StreamStarted, StreamEnded,
                                   StreamFailed, ReconnectDue, CertificateChecked>;

using EngineEvent = std::variant<BufferingProgress, StreamStarted, StreamEnded, StreamFailed, TitleTag>;

// What the machine asks its owner to do, in order.
struct FetchPlaylist {
    QString url;
    // A probe follows a format failure: only a playlist content type counts as a playlist.
    bool probe = false;
    bool operator==(const FetchPlaylist &) const = default;
};
struct StartStream {
    QString url;
    bool operator==(const StartStream &) const = default;
};
struct StopStream {
    bool operator==(const StopStream &) const = default;
};
struct ScheduleReconnect {
    std::chrono::milliseconds delay;
    bool operator==(const ScheduleReconnect &) const = default;
};

// Fetch the start of the address as the playlist fetcher does, to learn whether its certificate
// is refused, and feed back CertificateChecked.
struct CheckCertificate {
    QString url;
    bool operator==(const CheckCertificate &) const = default;
};

using PlaybackCommand =
    std::variant<FetchPlaylist, StartStream, StopStream, ScheduleReconnect, CheckCertificate>;

} // namespace Player
