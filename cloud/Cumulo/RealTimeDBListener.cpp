// Listening for value events is not available yet: this file holds the listener operations of
// the realtime database client and is replaced as a whole when the listener arrives.

#include "Cumulo/RealTimeDB.h"

#include <stdexcept>

namespace Cumulo {

std::shared_ptr<IFirebaseEvent> TRealTimeDB::ListenForValueEvents(const TStringDynArray & /*ResourceParams*/,
                                                                  TOnReceiveEvent /*ListenEvent*/,
                                                                  TNotifyEvent /*OnStopListening*/,
                                                                  TOnRequestError /*OnError*/) {
    throw std::logic_error("Listening for value events is not available yet");
}

TDateTime TRealTimeDB::GetLastKeepAliveTimeStamp() {
    return 0;
}

} // namespace Cumulo
