#pragma once

#include "Cumulo/MainThread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace Cumulo {

// A main-thread dispatcher that tests and command-line tools pump themselves: posted
// procedures wait in a queue until the owning thread processes them.
class TQueueDispatcher : public IMainThreadDispatcher {
public:
    void Post(std::function<void()> Procedure) override;
    // Runs every procedure waiting now (and those they post), in posting order.
    void ProcessPending() override;
    // Processes procedures as they arrive until Done() holds or Limit has passed; true when
    // Done() held. Waits on the queue, never sleeps blindly.
    bool PumpUntil(const std::function<bool()> &Done, std::chrono::milliseconds Limit);
    std::size_t PendingCount() const;

private:
    mutable std::mutex fMutex;
    std::condition_variable fPosted;
    std::deque<std::function<void()>> fQueue;
};

} // namespace Cumulo
