#include "Cumulo/HttpTransport.h"

#include "Cumulo/NeverDestroyed.h"

namespace Cumulo {

THttpTransport::THttpTransport() = default;

THttpTransport &THttpTransport::Shared() {
    // A worker (an asynchronous request) may still give its connection
    // back while a program that did not wait for it exits.
    static TNeverDestroyed<THttpTransport> shared;
    return shared.Get();
}

TCurlMulti THttpTransport::TakeConnection(const std::string &Origin) {
    {
        std::unique_lock lock(fMutex);
        const auto keptOne = [&] {
            const auto found = fKept.find(Origin);
            return found != fKept.end() && !found->second.empty();
        };
        if (!keptOne() && fReuse && fSpeaksHttp2.contains(Origin))
            fConnectionKept.wait_for(lock, kSharedConnectionWait, keptOne);
        if (keptOne()) {
            auto &kept = fKept[Origin];
            TCurlMulti multi = std::move(kept.back());
            kept.pop_back();
            return multi;
        }
    }
    return NewCurlMulti();
}

void THttpTransport::KeepConnection(const std::string &Origin, TCurlMulti Multi,
                                    TConnectionProtocol Protocol) {
    {
        std::lock_guard lock(fMutex);
        if (Protocol == TConnectionProtocol::Http2)
            fSpeaksHttp2.insert(Origin);
        else if (Protocol == TConnectionProtocol::Http1)
            fSpeaksHttp2.erase(Origin);
        auto &kept = fKept[Origin];
        const std::size_t room = fSpeaksHttp2.contains(Origin) ? 1 : kKeptConnectionsPerHost;
        if (fReuse && kept.size() < room)
            kept.push_back(std::move(Multi));
    }
    fConnectionKept.notify_all();
}

void THttpTransport::SetConnectionReuse(bool Reuse) {
    std::lock_guard lock(fMutex);
    fReuse = Reuse;
    if (!Reuse) {
        fKept.clear();
        fSpeaksHttp2.clear();
    }
}

TTransferLimits THttpTransport::Limits() const {
    std::lock_guard lock(fMutex);
    return fLimits;
}

void THttpTransport::SetLimits(const TTransferLimits &Limits) {
    std::lock_guard lock(fMutex);
    fLimits = Limits;
}

} // namespace Cumulo
