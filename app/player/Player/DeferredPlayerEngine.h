#pragma once

#include "Player/IPlayerEngine.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace Player {

// An engine made once the event loop runs, so that the media framework's start-up (plug-in
// registry, playbin) does not hold back the window's first frame. A stream started earlier
// makes it at once.
class DeferredPlayerEngine : public QObject, public IPlayerEngine {
public:
    using Factory = std::function<std::unique_ptr<IPlayerEngine>()>;

    explicit DeferredPlayerEngine(Factory Make, QObject *Parent = nullptr);
    ~DeferredPlayerEngine() override;

    void setEventHandler(EventHandler handler) override;
    void start(const QString &url) override;
    void stop() override;
    void setVolume(int percent) override;
    bool setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap) override;

private:
    IPlayerEngine &engine();

    Factory make_;
    std::unique_ptr<IPlayerEngine> engine_;
    EventHandler handler_;
    std::optional<int> volume_;
};

} // namespace Player
