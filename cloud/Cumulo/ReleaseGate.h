#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

namespace Cumulo {

// What the answers of a client's asynchronous calls pass before they call back. A client that
// is released closes its gate: the callbacks' owner may be gone with it, so none of them runs
// any more, not even for an answer already on its way to the main thread. Closed on the main
// thread, where the callbacks run.
class TReleaseGate {
public:
    void Close() { *fClosed = true; }
    bool IsClosed() const { return *fClosed; }

    // The callback, called only while the gate is open; an unassigned callback stays unassigned.
    template <class... Args> std::function<void(Args...)> Guard(std::function<void(Args...)> Callback) const {
        if (!Callback)
            return Callback;
        return [closed = fClosed, Callback = std::move(Callback)](Args... Arguments) {
            if (!*closed)
                Callback(std::forward<Args>(Arguments)...);
        };
    }

private:
    // Shared with the guarded callbacks, which may outlive the client.
    std::shared_ptr<std::atomic<bool>> fClosed = std::make_shared<std::atomic<bool>>(false);
};

} // namespace Cumulo
