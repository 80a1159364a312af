#pragma once

#include "app/desktop/PlayerRemote.h"

namespace Tunewell::Testing {

// A player that only says what it is told: its state, station and title are the test's; every
// command does nothing.
class StillPlayerRemote : public PlayerRemote {
public:
    // Sets the title and tells the listeners, as a stream's new title does.
    void ShowTitle(const QString &Title);

    Player::PlaybackState State() const override;
    QString Title() const override;
    RemoteStation Station() const override;
    int Volume() const override;
    void SetVolume(int) override {}
    void Play() override {}
    void Pause() override {}
    void Stop() override {}
    void Next() override {}
    void Previous() override {}
    bool CanGoNext() const override;
    bool CanGoPrevious() const override;
    bool CanPlay() const override;
    void PlaySelected() override {}
    std::vector<RemoteStation> Favourites() const override;
    void PlayFavourite(const QString &) override {}

    Player::PlaybackState StateNow = Player::PlaybackState::Playing;
    RemoteStation StationNow;
    QString TitleNow;
    bool CanPlayNow = false;
};

} // namespace Tunewell::Testing
