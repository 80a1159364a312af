#pragma once

#include "Player/IPlayerEngine.h"
#include "Player/IPlaylistFetcher.h"
#include "Player/NowPlayingTitle.h"
#include "Player/PlaybackMachine.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <memory>

namespace Player {

// Carries out what the state machine decides: drives the engine and the playlist fetcher, times
// the reconnects, and reports state, status line and title to the widget.
class PlaybackSession : public QObject {
    Q_OBJECT

public:
    PlaybackSession(std::unique_ptr<IPlayerEngine> engine, std::unique_ptr<IPlaylistFetcher> fetcher,
                    Cumulo::TReconnectBackoff reconnectBackoff = StreamReconnectBackoff(),
                    QObject *parent = nullptr);
    ~PlaybackSession() override;

    void play(const QString &url);
    void pause();
    void stop();
    void setVolume(int percent);
    // The stream being heard, handed to a recording; see IPlayerEngine. The tap follows the
    // connection under way: a stream the connection starts later (a playlist's, once fetched)
    // is handed to it too, until the playback stops, pauses, fails or reconnects.
    bool setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap);

    PlaybackState state() const { return machine_.state(); }
    const QString &url() const { return machine_.url(); }
    QString statusText() const;
    // The detail behind a failure (the library's own words), empty otherwise.
    QString failureDetail() const;
    const QString &title() const { return title_.text(); }

signals:
    void stateChanged(Player::PlaybackState state);
    void statusTextChanged(const QString &text);
    void titleChanged(const QString &title);

private:
    void feed(const PlaybackEvent &event);
    void onEngineEvent(const EngineEvent &event);
    void onPlaylistFetched(const PlaylistFetchResult &result, bool probe);
    void execute(const PlaybackCommand &command);
    void clearTitle();
    void publishStatus();

    PlaybackMachine machine_;
    std::unique_ptr<IPlayerEngine> engine_;
    std::unique_ptr<IPlaylistFetcher> fetcher_;
    NowPlayingTitle title_;
    QTimer reconnectTimer_;
    QTimer countdownTimer_;
    QDeadlineTimer reconnectDeadline_;
    QString lastStatus_;
    std::shared_ptr<Tunewell::IRecordingTap> recordingTap_;
};

} // namespace Player
