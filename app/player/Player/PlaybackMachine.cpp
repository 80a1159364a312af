#include "Player/PlaybackMachine.h"

#include "Player/Overloaded.h"
#include "Player/PlaylistKind.h"

#include <QUrl>
#include <chrono>

namespace Player {

namespace {

constexpr int maximumPlaylistDepth = 3;

bool isHttpAddress(const QString &url) {
    const QString scheme = QUrl(url).scheme().toLower();
    return scheme == "http" || scheme == "https";
}

} // namespace

Cumulo::TReconnectBackoff StreamReconnectBackoff() {
    return Cumulo::TReconnectBackoff(std::chrono::seconds(1), std::chrono::seconds(10));
}

PlaybackMachine::PlaybackMachine() : PlaybackMachine(StreamReconnectBackoff()) {}

PlaybackMachine::PlaybackMachine(Cumulo::TReconnectBackoff backoff) : backoff_(backoff) {}

PlaybackMachine::Commands PlaybackMachine::handle(const PlaybackEvent &event) {
    return std::visit(Overloaded{
                          [this](const PlayRequested &e) { return onPlay(e); },
                          [this](const PauseRequested &) { return onPause(); },
                          [this](const StopRequested &) { return onStop(); },
                          [this](const PlaylistResolved &e) { return onPlaylistResolved(e); },
                          [this](const PlaylistFailed &e) { return onPlaylistFailed(e); },
                          [this](const BufferingProgress &e) { return onBuffering(e); },
                          [this](const StreamStarted &) { return onStarted(); },
                          [this](const StreamEnded &) { return onEnded(); },
                          [this](const StreamFailed &e) { return onStreamFailed(e); },
                          [this](const ReconnectDue &) { return onReconnectDue(); },
                          [this](const CertificateChecked &e) { return onCertificateChecked(e); },
                      },
                      event);
}

bool PlaybackMachine::isActive() const {
    return state_ == PlaybackState::Connecting || state_ == PlaybackState::Buffering ||
           state_ == PlaybackState::Playing;
}

PlaybackMachine::Commands PlaybackMachine::onPlay(const PlayRequested &event) {
    const QString url = event.url.trimmed();
    if (url.isEmpty()) {
        url_.clear();
        return onStop();
    }
    // Asking again for the station already on its way is not a restart.
    if (url == url_ && isActive()) {
        return {};
    }
    if (url != url_) {
        playlistByContentType_ = false;
        certificateFine_ = false;
    }
    url_ = url;
    backoff_.Reset();
    reconnects_ = 0;
    return connect();
}

PlaybackMachine::Commands PlaybackMachine::onPause() {
    if (!isActive() && state_ != PlaybackState::Reconnecting) {
        return {};
    }
    state_ = PlaybackState::Paused;
    awaitingPlaylist_ = false;
    checkingCertificate_ = false;
    return {StopStream{}};
}

PlaybackMachine::Commands PlaybackMachine::onStop() {
    const bool wasIdle = state_ == PlaybackState::Stopped;
    state_ = PlaybackState::Stopped;
    awaitingPlaylist_ = false;
    checkingCertificate_ = false;
    if (wasIdle) {
        return {};
    }
    return {StopStream{}};
}

PlaybackMachine::Commands PlaybackMachine::connect() {
    state_ = PlaybackState::Connecting;
    bufferPercent_ = 0;
    probing_ = false;
    playlistDepth_ = 0;
    streamFromPlaylist_ = false;
    checkingCertificate_ = false;
    if (isPlaylistAddress(url_) || playlistByContentType_) {
        awaitingPlaylist_ = true;
        return {StopStream{}, FetchPlaylist{url_}};
    }
    awaitingPlaylist_ = false;
    stream_ = url_;
    return {StartStream{url_}};
}

PlaybackMachine::Commands PlaybackMachine::onPlaylistResolved(const PlaylistResolved &event) {
    if (!awaitingPlaylist_ || state_ != PlaybackState::Connecting) {
        return {};
    }
    if (event.stream.isEmpty()) {
        return fail(FailureKind::Unsupported,
                    probing_ ? failureDetail_ : QStringLiteral("no stream in the playlist"));
    }
    if (probing_) {
        playlistByContentType_ = true;
        probing_ = false;
    }
    if (isPlaylistAddress(event.stream) && playlistDepth_ < maximumPlaylistDepth) {
        ++playlistDepth_;
        return {FetchPlaylist{event.stream}};
    }
    awaitingPlaylist_ = false;
    streamFromPlaylist_ = true;
    stream_ = event.stream;
    return {StartStream{event.stream}};
}

PlaybackMachine::Commands PlaybackMachine::onPlaylistFailed(const PlaylistFailed &event) {
    if (!awaitingPlaylist_ || state_ != PlaybackState::Connecting) {
        return {};
    }
    if (probing_) {
        // The probe found no playlist: the format failure that led to it stands.
        return fail(FailureKind::Unsupported, failureDetail_);
    }
    return event.kind == FailureKind::Network ? dropped(event.detail) : fail(event.kind, event.detail);
}

PlaybackMachine::Commands PlaybackMachine::onBuffering(const BufferingProgress &event) {
    if (!isActive() || awaitingPlaylist_) {
        return {};
    }
    bufferPercent_ = std::clamp(event.percent, 0, 100);
    // A full buffer is followed by the engine's own report that it plays.
    if (bufferPercent_ < 100 || state_ == PlaybackState::Buffering) {
        state_ = PlaybackState::Buffering;
    }
    return {};
}

PlaybackMachine::Commands PlaybackMachine::onStarted() {
    if (!isActive() || awaitingPlaylist_) {
        return {};
    }
    state_ = PlaybackState::Playing;
    backoff_.Reset();
    reconnects_ = 0;
    certificateFine_ = false;
    return {};
}

PlaybackMachine::Commands PlaybackMachine::onEnded() {
    // A live station never ends on purpose: an end of stream is a dropped connection.
    if (!isActive() || awaitingPlaylist_) {
        return {};
    }
    return dropped(QStringLiteral("the stream ended"));
}

PlaybackMachine::Commands PlaybackMachine::onStreamFailed(const StreamFailed &event) {
    if (!isActive() || awaitingPlaylist_) {
        return {};
    }
    if (event.kind == FailureKind::Network) {
        // GStreamer's HTTP source tells a refused certificate from no other failure: before a
        // stream that never started is taken for a drop, its certificate is looked at, once.
        if (state_ == PlaybackState::Connecting && !certificateFine_ && isHttpAddress(stream_)) {
            checkingCertificate_ = true;
            droppedDetail_ = event.detail;
            return {StopStream{}, CheckCertificate{stream_}};
        }
        return dropped(event.detail);
    }
    // A playlist served under a plain address fails as an unknown format; look once at what the
    // server says it is before giving up.
    if (event.kind == FailureKind::Unsupported && !streamFromPlaylist_ && !playlistByContentType_ &&
        isHttpAddress(url_)) {
        probing_ = true;
        awaitingPlaylist_ = true;
        failure_ = event.kind;
        failureDetail_ = event.detail;
        state_ = PlaybackState::Connecting;
        return {StopStream{}, FetchPlaylist{url_, true}};
    }
    return fail(event.kind, event.detail);
}

PlaybackMachine::Commands PlaybackMachine::onReconnectDue() {
    if (state_ != PlaybackState::Reconnecting) {
        return {};
    }
    return connect();
}

PlaybackMachine::Commands PlaybackMachine::onCertificateChecked(const CertificateChecked &event) {
    if (!checkingCertificate_ || state_ != PlaybackState::Connecting) {
        return {};
    }
    checkingCertificate_ = false;
    if (event.refused) {
        return fail(FailureKind::Certificate, event.detail);
    }
    certificateFine_ = true;
    return dropped(droppedDetail_);
}

PlaybackMachine::Commands PlaybackMachine::dropped(const QString &detail) {
    if (reconnects_ == reconnectsBeforeGivingUp) {
        return fail(FailureKind::Unreachable, detail);
    }
    ++reconnects_;
    state_ = PlaybackState::Reconnecting;
    awaitingPlaylist_ = false;
    reconnectDelay_ = backoff_.NextDelay();
    return {StopStream{}, ScheduleReconnect{reconnectDelay_}};
}

PlaybackMachine::Commands PlaybackMachine::fail(FailureKind kind, const QString &detail) {
    state_ = PlaybackState::Failed;
    awaitingPlaylist_ = false;
    probing_ = false;
    checkingCertificate_ = false;
    failure_ = kind;
    failureDetail_ = detail;
    return {StopStream{}};
}

} // namespace Player
