#pragma once

// The cloud client's worker threads: each asynchronous request,
// download and token renewal runs on a thread of its own that nobody waits for while it runs.
// At the program's end they must not outlive main: the main-thread dispatcher and the TLS
// library's global clean-up would go from under them.

#include <chrono>
#include <cstddef>
#include <functional>

namespace Cumulo {

// Runs Work on a worker thread of its own. Work must not let an exception escape.
void StartWorkerThread(std::function<void()> Work);

// Worker threads still running.
std::size_t RunningAsyncRequests();

// Waits at most Limit for every worker thread to end; true when none runs any more (each has
// then ended entirely).
bool WaitForRunningRequests(std::chrono::milliseconds Limit);

// For the end of main: waits for the workers as WaitForRunningRequests does and returns
// ExitCode for main to return. Where some still run after Limit (a request to a host that does
// not answer), it ends the process at once with ExitCode instead, without the clean-up that
// would pull the libraries from under them.
int EndAfterRunningRequests(int ExitCode, std::chrono::milliseconds Limit);
int EndAfterRunningRequests(int ExitCode);

} // namespace Cumulo
