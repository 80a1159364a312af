#include "Cumulo/WorkerThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using namespace Cumulo;
using namespace std::chrono_literals;

namespace {

// A worker that runs until it is let go.
class THeldWorker {
public:
    THeldWorker() {
        StartWorkerThread([this] {
            std::unique_lock lock(fMutex);
            fChanged.wait(lock, [this] { return fLetGo; });
            fEnded = true;
        });
    }
    void LetGo() {
        {
            std::lock_guard lock(fMutex);
            fLetGo = true;
        }
        fChanged.notify_all();
    }
    bool Ended() {
        std::lock_guard lock(fMutex);
        return fEnded;
    }

private:
    std::mutex fMutex;
    std::condition_variable fChanged;
    bool fLetGo = false;
    bool fEnded = false;
};

TEST(WorkerThreads, TheEndWaitsForAWorkerThatIsStillRunning) {
    THeldWorker worker;
    std::thread letGo([&] {
        std::this_thread::sleep_for(100ms);
        worker.LetGo();
    });
    EXPECT_EQ(RunningAsyncRequests(), 1u);
    EXPECT_TRUE(WaitForRunningRequests(10s));
    letGo.join();
    EXPECT_TRUE(worker.Ended());
    EXPECT_EQ(RunningAsyncRequests(), 0u);
    EXPECT_EQ(EndAfterRunningRequests(7, 10s), 7);
}

TEST(WorkerThreads, TheWaitIsBounded) {
    THeldWorker worker;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitForRunningRequests(50ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_FALSE(worker.Ended());
    worker.LetGo();
    EXPECT_TRUE(WaitForRunningRequests(10s));
}

// A worker that would outlive main ends with the process, before any clean-up can reach it.
TEST(WorkerThreadsDeathTest, TheEndGoesWithoutAWorkerThatStillRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            THeldWorker worker;
            EndAfterRunningRequests(3, 50ms);
            std::exit(0);
        },
        ::testing::ExitedWithCode(3), "");
}

} // namespace
