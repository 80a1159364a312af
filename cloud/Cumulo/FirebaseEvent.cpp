#include "Cumulo/FirebaseEvent.h"

#include "Cumulo/EventListener.h"
#include "Cumulo/Helpers.h"

namespace Cumulo {

namespace {
constexpr int StopWaitRounds = 500;
}

TFirebaseEvent::TFirebaseEvent(std::weak_ptr<TEventListener> Listener, TStringDynArray ResourceParams,
                               TWakeUpWrite WakeUpWrite)
    : fListener(std::move(Listener)), fResourceParams(std::move(ResourceParams)),
      fWakeUpWrite(std::move(WakeUpWrite)) {}

void TFirebaseEvent::StopListening(const std::string &NodeName) {
    fIsStopped = true;
    // A released client has nothing left to stop, and nothing of it is written through.
    const auto listener = fListener.lock();
    if (!listener || listener->IsReleased() || !listener->IsRunning())
        return;
    listener->RequestStop();
    try {
        // The stop aborts the transfer by itself; the write only makes data arrive sooner. With
        // no child name it would replace the listened node itself, so there is none then.
        if (!NodeName.empty() && fWakeUpWrite)
            fWakeUpWrite(TFirebaseHelpers::AddParamToResParams(fResourceParams, NodeName));
        // A callback run meanwhile may release the client, which then ends the session itself.
        for (int round = 0; round < StopWaitRounds && listener->IsRunning() && !listener->IsReleased();
             ++round) {
            TFirebaseHelpers::SleepAndMessageLoop(1);
            listener->RequestStop();
        }
        if (listener->IsRunning() && !listener->IsReleased()) {
            TFirebaseHelpers::Log("Hard stop of listener thread because of lost connection");
            listener->RequestStop();
        }
    } catch (const std::exception &e) {
        TFirebaseHelpers::Log(std::string("Exception in StopListening: ") + e.what());
    }
}

TStringDynArray TFirebaseEvent::GetResourceParams() {
    return fResourceParams;
}

bool TFirebaseEvent::IsStopped() {
    return fIsStopped;
}

} // namespace Cumulo
