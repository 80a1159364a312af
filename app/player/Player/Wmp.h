#pragma once

#include "Player/PlaybackState.h"
#include "Player/WmpControls.h"
#include "Player/WmpOptions.h"

#include <QWidget>
#include <memory>

class QLabel;
class QSlider;
class QToolButton;

namespace Tunewell {
class IRecordingTap;
}

namespace Player {

class IPlayerEngine;
class IPlaylistFetcher;
class PlaybackSession;

// The stream player: its own play/pause, stop and volume controls, a status line and the
// now-playing title. It never shows a dialog; errors go to the status line.
class Wmp : public QWidget {
    Q_OBJECT

public:
    // GStreamer's playbin and the libcurl playlist fetcher.
    explicit Wmp(QWidget *parent = nullptr);
    explicit Wmp(const WmpOptions &options, QWidget *parent = nullptr);
    // Any engine and fetcher, for tests.
    Wmp(std::unique_ptr<IPlayerEngine> engine, std::unique_ptr<IPlaylistFetcher> fetcher,
        const WmpOptions &options, QWidget *parent = nullptr);
    ~Wmp() override;

    // The station address; with automatic start on, setting it plays it.
    QString URL() const { return url_; }
    void setURL(const QString &url);
    WmpControls &controls() { return controls_; }

    bool enableContextMenu() const { return enableContextMenu_; }
    void setEnableContextMenu(bool enable);
    bool autoStart() const { return autoStart_; }
    void setAutoStart(bool autoStart) { autoStart_ = autoStart; }
    int volume() const;
    void setVolume(int percent);

    // Hands the stream being heard, as sent, to a recording until the stream stops or another tap
    // (or none) is set; false when the engine cannot.
    bool setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap);

    PlaybackState playState() const;
    QString statusText() const;
    QString nowPlaying() const;

signals:
    void playStateChanged(Player::PlaybackState state);
    void statusTextChanged(const QString &text);
    void nowPlayingChanged(const QString &title);
    // A new station address, before it starts.
    void urlChanged(const QString &url);
    // The volume slider moved, by hand or by setVolume.
    void volumeChanged(int percent);

private:
    friend class WmpControls;
    PlaybackSession &session() { return *session_; }
    void buildControls();
    void showState(PlaybackState state);
    void showStatus(const QString &text);
    void togglePlayPause();

    std::unique_ptr<PlaybackSession> session_;
    WmpControls controls_{*this};
    QString url_;
    bool autoStart_ = true;
    bool enableContextMenu_ = false;
    QLabel *titleLabel_ = nullptr;
    QLabel *statusLabel_ = nullptr;
    QToolButton *playPauseButton_ = nullptr;
    QToolButton *stopButton_ = nullptr;
    QSlider *volumeSlider_ = nullptr;
};

} // namespace Player
