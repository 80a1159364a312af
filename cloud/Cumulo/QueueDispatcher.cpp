#include "Cumulo/QueueDispatcher.h"

#include <algorithm>

namespace Cumulo {

void TQueueDispatcher::Post(std::function<void()> Procedure) {
    {
        std::lock_guard lock(fMutex);
        fQueue.push_back(std::move(Procedure));
    }
    fPosted.notify_all();
}

void TQueueDispatcher::ProcessPending() {
    for (;;) {
        std::function<void()> next;
        {
            std::lock_guard lock(fMutex);
            if (fQueue.empty())
                return;
            next = std::move(fQueue.front());
            fQueue.pop_front();
        }
        // Runs outside the lock: a procedure may post again.
        next();
    }
}

bool TQueueDispatcher::PumpUntil(const std::function<bool()> &Done, std::chrono::milliseconds Limit) {
    const auto deadline = std::chrono::steady_clock::now() + Limit;
    for (;;) {
        ProcessPending();
        if (Done())
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return Done();
        // Done() may also turn true without a post (a worker's end), so it is asked again
        // after a short slice even when nothing arrives.
        std::unique_lock lock(fMutex);
        fPosted.wait_until(lock, std::min(deadline, now + std::chrono::milliseconds(10)),
                           [this] { return !fQueue.empty(); });
    }
}

std::size_t TQueueDispatcher::PendingCount() const {
    std::lock_guard lock(fMutex);
    return fQueue.size();
}

} // namespace Cumulo
