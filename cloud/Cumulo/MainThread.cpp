#include "Cumulo/MainThread.h"

#include "Cumulo/Log.h"

#include <atomic>
#include <stdexcept>

namespace Cumulo {

namespace {
// The single main-thread dispatcher the design allows; set once at start.
std::shared_ptr<IMainThreadDispatcher> &InstalledDispatcher() {
    static std::shared_ptr<IMainThreadDispatcher> dispatcher;
    return dispatcher;
}
} // namespace

void SetMainThreadDispatcher(std::shared_ptr<IMainThreadDispatcher> Dispatcher) {
    std::atomic_store(&InstalledDispatcher(), std::move(Dispatcher));
}

void PostToMainThread(std::function<void()> Procedure) {
    auto dispatcher = std::atomic_load(&InstalledDispatcher());
    if (!dispatcher)
        throw std::logic_error("No main-thread dispatcher installed");
    dispatcher->Post(std::move(Procedure));
}

void PostToMainThreadOrLog(std::function<void()> Procedure, const std::string &LogLine) {
    try {
        PostToMainThread(std::move(Procedure));
    } catch (const std::exception &e) {
        WriteLog(LogLine + " (not delivered: " + e.what() + ")");
    }
}

void ProcessMainThreadQueue() {
    if (auto dispatcher = std::atomic_load(&InstalledDispatcher()))
        dispatcher->ProcessPending();
}

} // namespace Cumulo
