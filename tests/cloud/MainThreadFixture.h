#pragma once

// Binds a pumped queue as the main thread and records the log, for the length of one test.

#include "Cumulo/AsyncHttp.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/Log.h"
#include "Cumulo/QueueDispatcher.h"

#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace CloudTest {

inline constexpr std::chrono::milliseconds kPumpLimit{10000};

class TMainThreadFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fDispatcher = std::make_shared<Cumulo::TQueueDispatcher>();
        Cumulo::SetMainThreadDispatcher(fDispatcher);
        fPreviousSink = Cumulo::SetLogSink([this](const std::string &Line) {
            std::lock_guard lock(fLogMutex);
            fLog.push_back(Line);
        });
        fMainThread = std::this_thread::get_id();
    }
    void TearDown() override {
        // Worker threads still running would post into the next test.
        EXPECT_TRUE(Pump([] { return Cumulo::RunningAsyncRequests() == 0; }));
        fDispatcher->ProcessPending();
        Cumulo::SetLogSink(fPreviousSink);
        Cumulo::SetMainThreadDispatcher(nullptr);
        Cumulo::TFirebaseHelpers::SetAppTerminated(false);
    }

    bool Pump(const std::function<bool()> &Done) { return fDispatcher->PumpUntil(Done, kPumpLimit); }

    std::vector<std::string> LogLines() {
        std::lock_guard lock(fLogMutex);
        return fLog;
    }
    bool OnMainThread() const { return std::this_thread::get_id() == fMainThread; }

    std::shared_ptr<Cumulo::TQueueDispatcher> fDispatcher;

private:
    Cumulo::TLogSink fPreviousSink;
    std::mutex fLogMutex;
    std::vector<std::string> fLog;
    std::thread::id fMainThread;
};

} // namespace CloudTest
