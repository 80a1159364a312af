#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <httplib.h>
#include <mutex>

namespace TunewellCloud {

// Runs each connection the server library accepts on a thread of its own, up to a cap, each with a
// small stack, so that slow or idle connections hold only their own thread and never the
// program's requests. Threads end with their connection; an idle server has none. Past the cap,
// connections wait in order for a thread (their number bounded by the process's descriptors).
class ConnectionThreads : public httplib::TaskQueue {
public:
    ConnectionThreads(std::size_t maxThreads, std::size_t stackBytes);
    ~ConnectionThreads() override;
    ConnectionThreads(const ConnectionThreads &) = delete;
    ConnectionThreads &operator=(const ConnectionThreads &) = delete;

    void enqueue(std::function<void()> connection) override;
    // Waits for every connection, the waiting ones included, to end.
    void shutdown() override;

private:
    struct Start;
    static void *threadMain(void *start);
    void work(std::function<void()> connection);
    bool startThread(std::function<void()> &connection);

    const std::size_t maxThreads_;
    const std::size_t stackBytes_;
    std::mutex mutex_;
    std::condition_variable ended_;
    std::deque<std::function<void()>> waiting_;
    std::size_t running_ = 0;
};

} // namespace TunewellCloud
