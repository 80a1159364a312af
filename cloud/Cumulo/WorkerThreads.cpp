#include "Cumulo/WorkerThreads.h"

#include "Cumulo/Log.h"
#include "Cumulo/NeverDestroyed.h"
#include "Cumulo/TransportLimits.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace Cumulo {

namespace {

// The threads started and not yet joined. A thread that finished its work is joined by the next
// start or wait, so the threads never pile up and a wait knows each has ended entirely.
class TWorkers {
public:
    void Start(std::function<void()> Work) {
        std::lock_guard lock(fMutex);
        JoinFinished();
        ++fRunning;
        try {
            fThreads.emplace_back([this, Work = std::move(Work)] {
                Work();
                {
                    std::lock_guard lock(fMutex);
                    fFinished.push_back(std::this_thread::get_id());
                    --fRunning;
                }
                fEnded.notify_all();
            });
        } catch (...) {
            --fRunning;
            throw;
        }
    }

    std::size_t Running() {
        std::lock_guard lock(fMutex);
        return fRunning;
    }

    bool Wait(std::chrono::milliseconds Limit) {
        std::unique_lock lock(fMutex);
        const bool allEnded = fEnded.wait_for(lock, Limit, [this] { return fRunning == 0; });
        JoinFinished();
        return allEnded;
    }

private:
    // Called under the lock. A finished thread has left its work and only returns now.
    void JoinFinished() {
        for (const auto id : fFinished) {
            const auto found =
                std::find_if(fThreads.begin(), fThreads.end(),
                             [id](const std::thread &Thread) { return Thread.get_id() == id; });
            found->join();
            fThreads.erase(found);
        }
        fFinished.clear();
    }

    std::mutex fMutex;
    std::condition_variable fEnded;
    std::list<std::thread> fThreads;
    std::vector<std::thread::id> fFinished;
    std::size_t fRunning = 0;
};

TWorkers &Workers() {
    static TNeverDestroyed<TWorkers> workers;
    return workers.Get();
}

// At the exit of a program that did not wait for its workers (a test), the threads that have
// finished are joined, so that none is left behind unjoined; those still running are left alone.
struct TJoinFinishedAtExit {
    ~TJoinFinishedAtExit() { Workers().Wait(std::chrono::milliseconds(0)); }
};
const TJoinFinishedAtExit gJoinFinishedAtExit;

} // namespace

void StartWorkerThread(std::function<void()> Work) {
    Workers().Start(std::move(Work));
}

std::size_t RunningAsyncRequests() {
    return Workers().Running();
}

bool WaitForRunningRequests(std::chrono::milliseconds Limit) {
    return Workers().Wait(Limit);
}

int EndAfterRunningRequests(int ExitCode, std::chrono::milliseconds Limit) {
    if (WaitForRunningRequests(Limit))
        return ExitCode;
    WriteLog(std::to_string(RunningAsyncRequests()) +
             " cloud request(s) still running at the end: not waited for");
    std::fflush(nullptr);
    std::_Exit(ExitCode);
}

int EndAfterRunningRequests(int ExitCode) {
    return EndAfterRunningRequests(ExitCode, kRequestsAtEndWait);
}

} // namespace Cumulo
