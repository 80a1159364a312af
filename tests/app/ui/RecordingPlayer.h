#pragma once

#include "app/ui/StationPlayer.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace Tunewell::Testing {

// A silent Wmp: remembers its address, what it was asked to play and its context menu setting.
class RecordingPlayer : public IStationPlayer {
public:
    RecordingPlayer();
    ~RecordingPlayer() override;
    QWidget *Widget() override { return Widget_; }
    QString URL() const override { return Url; }
    void SetURL(const QString &NewUrl) override { Url = NewUrl; }
    void Play() override { Played.append(Url); }
    void SetEnableContextMenu(bool Enabled) override { ContextMenu = Enabled; }

    QString Url;
    QStringList Played;
    bool ContextMenu = true;

private:
    QPointer<QWidget> Widget_;
};

} // namespace Tunewell::Testing
