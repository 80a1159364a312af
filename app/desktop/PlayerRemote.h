#pragma once

#include "Player/PlaybackState.h"

#include <QObject>
#include <QString>
#include <vector>

namespace Tunewell {

// A station as the desktop shows it.
struct RemoteStation {
    QString Name;
    QString Url;
    QString Serie;
    bool operator==(const RemoteStation &) const = default;
};

// What the desktop's additions (media interface, tray, title notices, sleep timer, keys) see of
// the main window and its player: the station and title playing, the volume, and the commands
// given from outside the window. The program binds the window (FormRadioRemote).
class PlayerRemote : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual Player::PlaybackState State() const = 0;
    // The title the stream sent last; empty when none.
    virtual QString Title() const = 0;
    // The station in the player; an empty Url when none.
    virtual RemoteStation Station() const = 0;
    // 0 to 100, the player's slider.
    virtual int Volume() const = 0;
    virtual void SetVolume(int Percent) = 0;

    // The player's station again; without one, the grid's selected row, else its first.
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // The row after or before the one playing, in the grid's order, played as a click plays it;
    // past either end the grid starts over.
    virtual void Next() = 0;
    virtual void Previous() = 0;
    virtual bool CanGoNext() const = 0;
    virtual bool CanGoPrevious() const = 0;
    virtual bool CanPlay() const = 0;
    // The grid's selected row, played as a click plays it.
    virtual void PlaySelected() = 0;
    // The user's favourite stations, in the table's order, and one of them played as a click.
    virtual std::vector<RemoteStation> Favourites() const = 0;
    virtual void PlayFavourite(const QString &Serie) = 0;

    // A stream is being fetched, played or reconnected.
    bool UnderWay() const;
    // Pauses what is under way, plays otherwise.
    void PlayPause();

signals:
    void StateChanged();
    void TitleChanged();
    void StationChanged();
    void VolumeChanged();
    // The grid's rows, their order or the filter changed.
    void RowsChanged();
};

} // namespace Tunewell
