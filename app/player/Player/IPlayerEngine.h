#pragma once

#include "Player/PlaybackEvents.h"

#include <functional>
#include <memory>

namespace Tunewell {
class IRecordingTap;
}

namespace Player {

// The audio engine behind the player. Events are delivered on the main thread, and none from a
// stream that has been stopped or replaced.
class IPlayerEngine {
public:
    using EventHandler = std::function<void(const EngineEvent &)>;

    virtual ~IPlayerEngine() = default;
    virtual void setEventHandler(EventHandler handler) = 0;
    // Starts the stream at the address, replacing any current one.
    virtual void start(const QString &url) = 0;
    virtual void stop() = 0;
    // 0 to 100, on the loudness scale people expect of a volume slider.
    virtual void setVolume(int percent) = 0;
    // Hands the stream being heard to the tap, from the streaming thread, until the stream stops
    // or another tap (or none) is set. False for an engine that cannot.
    virtual bool setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap>) { return false; }
};

} // namespace Player
