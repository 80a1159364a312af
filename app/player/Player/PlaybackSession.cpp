#include "Player/PlaybackSession.h"

#include "Player/Overloaded.h"
#include "Player/PlaylistKind.h"
#include "Player/PlaylistParser.h"
#include "Player/StatusText.h"

#include <cmath>

namespace Player {

PlaybackSession::PlaybackSession(std::unique_ptr<IPlayerEngine> engine,
                                 std::unique_ptr<IPlaylistFetcher> fetcher,
                                 Cumulo::TReconnectBackoff reconnectBackoff, QObject *parent)
    : QObject(parent), machine_(reconnectBackoff), engine_(std::move(engine)), fetcher_(std::move(fetcher)) {
    engine_->setEventHandler([this](const EngineEvent &event) { onEngineEvent(event); });
    reconnectTimer_.setSingleShot(true);
    connect(&reconnectTimer_, &QTimer::timeout, this, [this] { feed(ReconnectDue{}); });
    countdownTimer_.setInterval(250);
    connect(&countdownTimer_, &QTimer::timeout, this, &PlaybackSession::publishStatus);
    lastStatus_ = statusText();
}

PlaybackSession::~PlaybackSession() {
    fetcher_->cancel();
    engine_->setEventHandler({});
    engine_->stop();
}

void PlaybackSession::play(const QString &url) {
    if (url.trimmed() != machine_.url()) {
        clearTitle();
        // Another station is no part of the recording of this one.
        recordingTap_.reset();
    }
    feed(PlayRequested{url});
}

void PlaybackSession::pause() {
    feed(PauseRequested{});
}

void PlaybackSession::stop() {
    feed(StopRequested{});
}

void PlaybackSession::setVolume(int percent) {
    engine_->setVolume(percent);
}

bool PlaybackSession::setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap) {
    recordingTap_ = tap;
    if (!engine_->setRecordingTap(std::move(tap))) {
        recordingTap_.reset();
        return false;
    }
    return true;
}

QString PlaybackSession::statusText() const {
    const int secondsLeft =
        static_cast<int>(std::ceil(static_cast<double>(reconnectDeadline_.remainingTime()) / 1000.0));
    return Player::statusText(
        {machine_.state(), machine_.bufferPercent(), machine_.failure(), std::max(secondsLeft, 0)});
}

QString PlaybackSession::failureDetail() const {
    return machine_.state() == PlaybackState::Failed ? machine_.failureDetail() : QString();
}

void PlaybackSession::feed(const PlaybackEvent &event) {
    const PlaybackState before = machine_.state();
    for (const PlaybackCommand &command : machine_.handle(event)) {
        execute(command);
    }
    if (machine_.state() != PlaybackState::Reconnecting) {
        countdownTimer_.stop();
    }
    // A recording never runs on into a stream reconnected, nor after a stop, pause or failure.
    if (!isHeard(machine_.state())) {
        recordingTap_.reset();
    }
    if (machine_.state() != before) {
        emit stateChanged(machine_.state());
    }
    publishStatus();
}

void PlaybackSession::onEngineEvent(const EngineEvent &event) {
    std::visit(Overloaded{[this](const TitleTag &tag) {
                              if (title_.offer(tag.bytes)) {
                                  emit titleChanged(title_.text());
                              }
                          },
                          [this](const auto &streamEvent) { feed(streamEvent); }},
               event);
}

void PlaybackSession::onPlaylistFetched(const PlaylistFetchResult &result, bool probe) {
    if (!result.ok) {
        feed(PlaylistFailed{result.failure, result.detail});
        return;
    }
    if (probe && !isPlaylistContentType(result.contentType)) {
        feed(PlaylistFailed{FailureKind::Unsupported, result.contentType});
        return;
    }
    feed(PlaylistResolved{firstStreamInPlaylist(result.body, result.finalUrl)});
}

void PlaybackSession::execute(const PlaybackCommand &command) {
    std::visit(Overloaded{
                   [this](const FetchPlaylist &fetch) {
                       reconnectTimer_.stop();
                       const bool probe = fetch.probe;
                       fetcher_->fetch(fetch.url, [this, probe](const PlaylistFetchResult &result) {
                           onPlaylistFetched(result, probe);
                       });
                   },
                   [this](const StartStream &start) {
                       reconnectTimer_.stop();
                       // The engine's start lets go of the tap of the stream before.
                       engine_->start(start.url);
                       if (recordingTap_) {
                           engine_->setRecordingTap(recordingTap_);
                       }
                   },
                   [this](const StopStream &) {
                       reconnectTimer_.stop();
                       fetcher_->cancel();
                       engine_->stop();
                   },
                   [this](const CheckCertificate &check) {
                       fetcher_->fetch(check.url, [this](const PlaylistFetchResult &result) {
                           feed(CertificateChecked{!result.ok && result.failure == FailureKind::Certificate,
                                                   result.detail});
                       });
                   },
                   [this](const ScheduleReconnect &schedule) {
                       reconnectDeadline_.setRemainingTime(schedule.delay);
                       reconnectTimer_.start(schedule.delay);
                       countdownTimer_.start();
                   },
               },
               command);
}

void PlaybackSession::clearTitle() {
    if (title_.clear()) {
        emit titleChanged(QString());
    }
}

void PlaybackSession::publishStatus() {
    const QString text = statusText();
    if (text != lastStatus_) {
        lastStatus_ = text;
        emit statusTextChanged(text);
    }
}

} // namespace Player
