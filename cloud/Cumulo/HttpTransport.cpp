#include "Cumulo/HttpTransport.h"

#include "Cumulo/TransportLimits.h"

namespace Cumulo {

THttpTransport::THttpTransport()
    : fRequestDeadlineMs(std::chrono::duration_cast<std::chrono::milliseconds>(kRequestDeadline).count()) {}

THttpTransport &THttpTransport::Shared() {
    static THttpTransport transport;
    return transport;
}

std::chrono::milliseconds THttpTransport::RequestDeadline() const {
    return std::chrono::milliseconds(fRequestDeadlineMs.load());
}

void THttpTransport::SetRequestDeadline(std::chrono::milliseconds Deadline) {
    fRequestDeadlineMs = Deadline.count();
}

} // namespace Cumulo
