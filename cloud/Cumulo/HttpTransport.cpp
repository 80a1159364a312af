#include "Cumulo/HttpTransport.h"

#include "Cumulo/TransportLimits.h"

namespace Cumulo {

THttpTransport::THttpTransport()
    : fRequestDeadlineMs(std::chrono::duration_cast<std::chrono::milliseconds>(kRequestDeadline).count()) {}

THttpTransport &THttpTransport::Shared() {
    static THttpTransport transport;
    return transport;
}

TCurlMulti THttpTransport::TakeConnection(const std::string &Origin) {
    {
        std::lock_guard lock(fMutex);
        const auto found = fKept.find(Origin);
        if (found != fKept.end() && !found->second.empty()) {
            TCurlMulti kept = std::move(found->second.back());
            found->second.pop_back();
            return kept;
        }
    }
    return NewCurlMulti();
}

void THttpTransport::KeepConnection(const std::string &Origin, TCurlMulti Multi) {
    std::lock_guard lock(fMutex);
    auto &kept = fKept[Origin];
    if (fReuse && kept.size() < kKeptConnectionsPerHost)
        kept.push_back(std::move(Multi));
}

void THttpTransport::SetConnectionReuse(bool Reuse) {
    std::lock_guard lock(fMutex);
    fReuse = Reuse;
    if (!Reuse)
        fKept.clear();
}

std::chrono::milliseconds THttpTransport::RequestDeadline() const {
    return std::chrono::milliseconds(fRequestDeadlineMs.load());
}

void THttpTransport::SetRequestDeadline(std::chrono::milliseconds Deadline) {
    fRequestDeadlineMs = Deadline.count();
}

} // namespace Cumulo
