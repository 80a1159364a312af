#include "Player/Wmp.h"

#include "Player/CurlPlaylistFetcher.h"
#include "Player/DeferredPlayerEngine.h"
#include "Player/GstPlayerEngine.h"
#include "Player/PlaybackSession.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace Player {

namespace {

QString audioSinkFor(const WmpOptions &options) {
    if (!options.audioSink.isEmpty()) {
        return options.audioSink;
    }
    return qEnvironmentVariable("TUNEWELL_AUDIO_SINK");
}

} // namespace

Wmp::Wmp(QWidget *parent) : Wmp(WmpOptions(), parent) {}

Wmp::Wmp(const WmpOptions &options, QWidget *parent)
    : Wmp(std::make_unique<DeferredPlayerEngine>(
              [sink = audioSinkFor(options)] { return std::make_unique<GstPlayerEngine>(sink); }),
          std::make_unique<CurlPlaylistFetcher>(), options, parent) {}

Wmp::Wmp(std::unique_ptr<IPlayerEngine> engine, std::unique_ptr<IPlaylistFetcher> fetcher,
         const WmpOptions &options, QWidget *parent)
    : QWidget(parent), session_(std::make_unique<PlaybackSession>(
                           std::move(engine), std::move(fetcher),
                           options.reconnectBackoff.value_or(StreamReconnectBackoff()))),
      autoStart_(options.autoStart) {
    buildControls();
    connect(session_.get(), &PlaybackSession::stateChanged, this, &Wmp::showState);
    connect(session_.get(), &PlaybackSession::statusTextChanged, this, &Wmp::showStatus);
    connect(session_.get(), &PlaybackSession::titleChanged, this, [this](const QString &title) {
        titleLabel_->setText(title);
        emit nowPlayingChanged(title);
    });
    setVolume(options.volume);
    setEnableContextMenu(false);
    showState(session_->state());
    showStatus(session_->statusText());
}

Wmp::~Wmp() = default;

void Wmp::buildControls() {
    titleLabel_ = new QLabel(this);
    titleLabel_->setObjectName("titleLabel");
    titleLabel_->setAlignment(Qt::AlignCenter);
    titleLabel_->setWordWrap(true);
    titleLabel_->setFrameShape(QFrame::StyledPanel);
    titleLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);

    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName("statusLabel");
    statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    playPauseButton_ = new QToolButton(this);
    playPauseButton_->setObjectName("playPauseButton");
    connect(playPauseButton_, &QToolButton::clicked, this, &Wmp::togglePlayPause);

    stopButton_ = new QToolButton(this);
    stopButton_->setObjectName("stopButton");
    stopButton_->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    stopButton_->setToolTip(tr("Stop"));
    stopButton_->setAccessibleName(tr("Stop"));
    connect(stopButton_, &QToolButton::clicked, this, [this] { controls_.stop(); });

    volumeSlider_ = new QSlider(Qt::Horizontal, this);
    volumeSlider_->setObjectName("volumeSlider");
    volumeSlider_->setRange(0, 100);
    volumeSlider_->setToolTip(tr("Volume"));
    volumeSlider_->setAccessibleName(tr("Volume"));
    connect(volumeSlider_, &QSlider::valueChanged, this, [this](int percent) {
        session_->setVolume(percent);
        emit volumeChanged(percent);
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(playPauseButton_);
    buttons->addWidget(stopButton_);
    buttons->addWidget(volumeSlider_, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(titleLabel_, 1);
    layout->addWidget(statusLabel_);
    layout->addLayout(buttons);

    auto *playPauseAction = new QAction(tr("Play/Pause"), this);
    connect(playPauseAction, &QAction::triggered, this, &Wmp::togglePlayPause);
    auto *stopAction = new QAction(tr("Stop"), this);
    connect(stopAction, &QAction::triggered, this, [this] { controls_.stop(); });
    addActions({playPauseAction, stopAction});
}

void Wmp::setURL(const QString &url) {
    if (url != url_) {
        url_ = url;
        emit urlChanged(url_);
    }
    if (autoStart_) {
        controls_.play();
    } else if (url.trimmed() != session_->url()) {
        controls_.stop();
    }
}

void Wmp::setEnableContextMenu(bool enable) {
    enableContextMenu_ = enable;
    setContextMenuPolicy(enable ? Qt::ActionsContextMenu : Qt::NoContextMenu);
}

int Wmp::volume() const {
    return volumeSlider_->value();
}

void Wmp::setVolume(int percent) {
    volumeSlider_->setValue(percent);
    session_->setVolume(volumeSlider_->value());
}

bool Wmp::setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap) {
    return session_->setRecordingTap(std::move(tap));
}

PlaybackState Wmp::playState() const {
    return session_->state();
}

QString Wmp::statusText() const {
    return session_->statusText();
}

QString Wmp::nowPlaying() const {
    return session_->title();
}

void Wmp::showState(PlaybackState state) {
    const bool underWay = isUnderWay(state);
    playPauseButton_->setIcon(style()->standardIcon(underWay ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    // A screen reader says what a press would do, as the picture shows it.
    const QString action = underWay ? tr("Pause") : tr("Play");
    playPauseButton_->setToolTip(action);
    playPauseButton_->setAccessibleName(action);
    statusLabel_->setToolTip(session_->failureDetail());
    emit playStateChanged(state);
}

void Wmp::showStatus(const QString &text) {
    statusLabel_->setText(text);
    emit statusTextChanged(text);
}

void Wmp::togglePlayPause() {
    if (isUnderWay(session_->state())) {
        controls_.pause();
    } else {
        controls_.play();
    }
}

} // namespace Player
