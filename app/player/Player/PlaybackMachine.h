#pragma once

#include "Cumulo/ReconnectBackoff.h"
#include "Player/PlaybackEvents.h"

#include <vector>

namespace Player {

// The waits before a dropped stream is tried again: 1 s, doubling up to 10 s.
Cumulo::TReconnectBackoff StreamReconnectBackoff();

// The player's one state machine. It decides; its owner carries out the commands it returns
// and feeds back what happened. No audio, no network, no clock: every transition is testable.
class PlaybackMachine {
public:
    using Commands = std::vector<PlaybackCommand>;
    // Reconnects in a row that never got the stream playing, after which a dropped station is
    // given up as unreachable: with the player's waits, about a minute.
    static constexpr int reconnectsBeforeGivingUp = 8;

    PlaybackMachine();
    explicit PlaybackMachine(Cumulo::TReconnectBackoff backoff);

    Commands handle(const PlaybackEvent &event);

    PlaybackState state() const { return state_; }
    // The station address last asked for.
    const QString &url() const { return url_; }
    int bufferPercent() const { return bufferPercent_; }
    FailureKind failure() const { return failure_; }
    const QString &failureDetail() const { return failureDetail_; }
    std::chrono::milliseconds reconnectDelay() const { return reconnectDelay_; }

private:
    Commands onPlay(const PlayRequested &event);
    Commands onPause();
    Commands onStop();
    Commands onPlaylistResolved(const PlaylistResolved &event);
    Commands onPlaylistFailed(const PlaylistFailed &event);
    Commands onBuffering(const BufferingProgress &event);
    Commands onStarted();
    Commands onEnded();
    Commands onStreamFailed(const StreamFailed &event);
    Commands onReconnectDue();
    Commands onCertificateChecked(const CertificateChecked &event);

    Commands connect();
    Commands dropped(const QString &detail);
    Commands fail(FailureKind kind, const QString &detail);
    // Connecting, buffering or playing: the states in which a stream or a fetch is under way.
    bool isActive() const;

    PlaybackState state_ = PlaybackState::Stopped;
    QString url_;
    int bufferPercent_ = 0;
    FailureKind failure_ = FailureKind::Network;
    QString failureDetail_;
    std::chrono::milliseconds reconnectDelay_{0};
    Cumulo::TReconnectBackoff backoff_;
    int reconnects_ = 0;
    bool awaitingPlaylist_ = false;
    bool probing_ = false;
    // Set once a probe showed that the address serves a playlist without saying so in its name.
    bool playlistByContentType_ = false;
    // Playlists naming playlists; bounded so that a playlist naming itself ends.
    int playlistDepth_ = 0;
    bool streamFromPlaylist_ = false;
    // The address last handed to the engine.
    QString stream_;
    // A failed stream's certificate is being looked at; found fine since the last start.
    bool checkingCertificate_ = false;
    bool certificateFine_ = false;
    // What the failure that set the look going said, for the drop that follows a fine certificate.
    QString droppedDetail_;
};

} // namespace Player
