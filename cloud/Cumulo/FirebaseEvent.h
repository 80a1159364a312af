#pragma once

#include "Cumulo/Interfaces.h"

#include <atomic>
#include <functional>
#include <memory>

namespace Cumulo {

class TEventListener;

// The caller's handle on one listening session. It does not keep the session or its database
// client alive: once the client is released, StopListening has nothing left to stop.
class TFirebaseEvent : public IFirebaseEvent {
public:
    // Writes the server time to a node, so that the stream carries data at once.
    using TWakeUpWrite = std::function<void(const TStringDynArray &NodePath)>;

    TFirebaseEvent(std::weak_ptr<TEventListener> Listener, TStringDynArray ResourceParams,
                   TWakeUpWrite WakeUpWrite);

    // Main thread only. Never raises.
    void StopListening(const std::string &NodeName) override;
    TStringDynArray GetResourceParams() override;
    bool IsStopped() override;

private:
    std::weak_ptr<TEventListener> fListener;
    const TStringDynArray fResourceParams;
    const TWakeUpWrite fWakeUpWrite;
    std::atomic<bool> fIsStopped{false};
};

} // namespace Cumulo
