#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Cumulo {

// The one way worker threads reach the main (UI) thread. The Qt program binds it to its
// event loop at start; tests and command-line tools bind a QueueDispatcher and pump it.
class IMainThreadDispatcher {
public:
    virtual ~IMainThreadDispatcher() = default;
    // Safe from any thread; never waits for the procedure to run.
    virtual void Post(std::function<void()> Procedure) = 0;
    // Runs what is waiting; main thread only.
    virtual void ProcessPending() = 0;
};

// Installs the process-wide dispatcher (once at start, before any asynchronous call).
void SetMainThreadDispatcher(std::shared_ptr<IMainThreadDispatcher> Dispatcher);
// Posts to the installed dispatcher; throws std::logic_error when none is installed.
void PostToMainThread(std::function<void()> Procedure);
// Posts like PostToMainThread; where no dispatcher takes the procedure (a tool that installed
// none), it cannot run, and LogLine is written instead with the reason, so that no outcome of a
// worker thread vanishes unseen.
void PostToMainThreadOrLog(std::function<void()> Procedure, const std::string &LogLine);
// Runs what is waiting on the installed dispatcher, if any.
void ProcessMainThreadQueue();

} // namespace Cumulo
