#pragma once

#include "app/ui/StationPlayer.h"

#include <QPointer>

namespace Player {
class Wmp;
struct WmpOptions;
} // namespace Player

namespace Tunewell {

// The stream player widget as the main window's Wmp.
class WmpStationPlayer : public IStationPlayer {
public:
    explicit WmpStationPlayer(const Player::WmpOptions &Options);
    ~WmpStationPlayer() override;
    QWidget *Widget() override;
    QString URL() const override;
    void SetURL(const QString &Url) override;
    void Play() override;
    void SetEnableContextMenu(bool Enabled) override;
    Player::Wmp &Control();

private:
    // Owned by the window it is placed in; ours only until then.
    QPointer<Player::Wmp> Wmp_;
};

} // namespace Tunewell
