// The listener operations of the realtime database client.

#include "Cumulo/EventListener.h"
#include "Cumulo/FirebaseEvent.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/RealTimeDB.h"

namespace Cumulo {

TRealTimeDB::~TRealTimeDB() {
    fGate.Close();
    if (fListener)
        fListener->Release();
}

std::shared_ptr<IFirebaseEvent> TRealTimeDB::ListenForValueEvents(const TStringDynArray &ResourceParams,
                                                                  TOnReceiveEvent ListenEvent,
                                                                  TNotifyEvent OnStopListening,
                                                                  TOnRequestError OnError) {
    // One session per client: a new start ends the running one first (its OnStopListening
    // still comes), so the old handle can never stop the new session.
    if (fListener)
        fListener->StopAndWait();
    TEventListenerSettings settings;
    settings.StreamURL =
        fBaseURL + TFirebaseHelpers::EncodeResourceParams(AddJSONExtToRequest(ResourceParams));
    settings.ResourceParams = ResourceParams;
    settings.Auth = fAuth;
    settings.OnEvent = std::move(ListenEvent);
    settings.OnStopListening = std::move(OnStopListening);
    settings.OnError = std::move(OnError);
    fListener = std::make_shared<TEventListener>(std::move(settings));
    fListener->Start();
    // The handle may outlive this client: its wake-up write takes what it needs along.
    return std::make_shared<TFirebaseEvent>(
        fListener, ResourceParams, [baseURL = fBaseURL, auth = fAuth](const TStringDynArray &NodePath) {
            SendServerVariable(baseURL, auth, "timestamp", NodePath, nullptr, nullptr);
        });
}

TDateTime TRealTimeDB::GetLastKeepAliveTimeStamp() {
    return fListener ? fListener->LastKeepAlive() : 0;
}

} // namespace Cumulo
