#include "app/ui/WmpStationPlayer.h"

#include "Player/Wmp.h"

namespace Tunewell {

WmpStationPlayer::WmpStationPlayer(const Player::WmpOptions &Options) : Wmp_(new Player::Wmp(Options)) {}

WmpStationPlayer::~WmpStationPlayer() {
    if (Wmp_ && !Wmp_->parent())
        delete Wmp_.data();
}

Player::Wmp &WmpStationPlayer::Control() {
    return *Wmp_;
}

QWidget *WmpStationPlayer::Widget() {
    return Wmp_;
}

QString WmpStationPlayer::URL() const {
    return Wmp_->URL();
}

void WmpStationPlayer::SetURL(const QString &Url) {
    Wmp_->setURL(Url);
}

void WmpStationPlayer::Play() {
    Wmp_->controls().play();
}

void WmpStationPlayer::SetEnableContextMenu(bool Enabled) {
    Wmp_->setEnableContextMenu(Enabled);
}

} // namespace Tunewell
