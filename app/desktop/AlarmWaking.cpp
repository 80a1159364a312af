#include "app/desktop/AlarmWaking.h"

#include "app/core/AlarmChoice.h"
#include "app/core/SleepTimer.h"
#include "app/desktop/PlayerRemote.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace Tunewell {

AlarmWaking::AlarmWaking(PlayerRemote &Remote, SleepTimer &Sleep,
                         std::function<void(const QString &Url)> PlayAddress, QString FallbackSound,
                         Clock Now, std::chrono::milliseconds TickInterval, QObject *Parent)
    : QObject(Parent), Remote_(Remote), Sleep_(Sleep), PlayAddress_(std::move(PlayAddress)),
      FallbackSound_(std::move(FallbackSound)), Now_(std::move(Now)) {
    Ticker_.setInterval(TickInterval);
    connect(&Ticker_, &QTimer::timeout, this, &AlarmWaking::Tick);
}

QString AlarmWaking::DefaultFallbackSound() {
    const QString program = QCoreApplication::applicationDirPath();
    // bin/../share/tunewell/radio where installed; app/../radio in the build folder.
    for (const QString &place :
         {QStringLiteral("/../share/tunewell/radio/demo.mp3"), QStringLiteral("/../radio/demo.mp3")})
        if (const QFileInfo clip(program + place); clip.isFile())
            return clip.canonicalFilePath();
    return {};
}

QString AlarmWaking::FallbackUrl() const {
    return FallbackSound_.isEmpty() ? QString() : QUrl::fromLocalFile(FallbackSound_).toString();
}

void AlarmWaking::Wake(const AlarmChoice &Choice) {
    // A fade under way gives its volume back first; a timer left running would stop the alarm.
    Sleep_.Cancel();
    Rise_ = AlarmRise();
    RiseStarted_ = false;
    Level_ = Choice.Volume;
    StationName_ = Choice.StationName;
    Remote_.SetVolume(0);
    Ticker_.start();
    if (!Choice.Serie.isEmpty())
        Remote_.PlayFavourite(Choice.Serie);
    if (Choice.Serie.isEmpty() || Remote_.Station().Serie != Choice.Serie) {
        // Not in the catalogue shown: nothing of it can play.
        FallBack();
        return;
    }
    Phase_ = Phase::Station;
    ExpectedUrl_ = Remote_.Station().Url;
    Deadline_ = Now_() + PlayingBound;
    Tick();
}

void AlarmWaking::FallBack() {
    if (FallbackSound_.isEmpty()) {
        qWarning("Alarm: the station cannot be played and there is no fallback sound");
        End(true);
        return;
    }
    qWarning("Alarm: the station cannot be played; the fallback sound plays instead");
    Phase_ = Phase::Fallback;
    ExpectedUrl_ = FallbackUrl();
    Deadline_ = Now_() + PlayingBound;
    emit FellBack(StationName_);
    PlayAddress_(ExpectedUrl_);
}

void AlarmWaking::Tick() {
    if (Phase_ == Phase::Idle)
        return;
    const auto now = Now_();
    const Player::PlaybackState state = Remote_.State();
    if (Remote_.Station().Url != ExpectedUrl_ || state == Player::PlaybackState::Stopped ||
        state == Player::PlaybackState::Paused)
        return End(true);
    if (Phase_ == Phase::Station &&
        (state == Player::PlaybackState::Failed || (!RiseStarted_ && now >= Deadline_)))
        return FallBack();
    if (state == Player::PlaybackState::Playing && !RiseStarted_) {
        RiseStarted_ = true;
        Rise_.Start(now, Level_);
    }
    if (RiseStarted_) {
        if (const auto level = Rise_.Advance(now, Remote_.Volume()))
            Remote_.SetVolume(*level);
        if (!Rise_.Rising())
            return End(false);
    } else if (Phase_ == Phase::Fallback && (state == Player::PlaybackState::Failed || now >= Deadline_)) {
        // Not even the clip plays: at least the station, if it comes back, is heard.
        End(true);
    }
}

void AlarmWaking::End(bool Restore) {
    Phase_ = Phase::Idle;
    Ticker_.stop();
    Rise_.Stop();
    // A volume the listener set stays.
    if (Restore && Remote_.Volume() == Rise_.LastSet())
        Remote_.SetVolume(Level_);
}

} // namespace Tunewell
