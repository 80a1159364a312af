#pragma once

#include "app/desktop/PlayerRemote.h"

namespace Player {
class Wmp;
}

namespace Tunewell {

class TFormRadio;

// The remote over the main window and its player. Rows are played through the window's own
// click handler, so a row played from the desktop is recorded as the last station as a click's is.
class FormRadioRemote : public PlayerRemote {
    Q_OBJECT
public:
    FormRadioRemote(TFormRadio &Form, Player::Wmp &Wmp, QObject *Parent = nullptr);

    Player::PlaybackState State() const override;
    QString Title() const override;
    RemoteStation Station() const override;
    int Volume() const override;
    void SetVolume(int Percent) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    bool CanGoNext() const override;
    bool CanGoPrevious() const override;
    bool CanPlay() const override;
    void PlaySelected() override;
    std::vector<RemoteStation> Favourites() const override;
    void PlayFavourite(const QString &Serie) override;

private:
    // Finds the station in the player among the table's rows again; tells when it changed.
    void FollowStation();
    RemoteStation StationOfRow(int Row) const;
    // The table row of the station in the player, or -1.
    int FindPlayingRow() const;
    // The table row Next and Previous go from: the playing one where the grid shows it, else
    // the grid's selected one, or -1.
    int StartingRow() const;
    // The table row Step shown rows away from there, the grid starting over past its ends.
    int NeighbourRow(int Step) const;
    void PlayTableRow(int Row);

    TFormRadio &Form_;
    Player::Wmp &Wmp_;
    RemoteStation Station_;
    // The table row of the station in the player, found again at every change of the rows or
    // of the station, so that the desktop's questions never search the table.
    int PlayingRow_ = -1;
};

} // namespace Tunewell
