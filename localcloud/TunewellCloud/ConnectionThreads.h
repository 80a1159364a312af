#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <httplib.h>
#include <mutex>
#include <thread>

namespace TunewellCloud {

// Runs each connection the server library accepts on a thread of its own, up to a cap, each with a
// small stack, so that slow or idle connections hold only their own thread and never the
// program's requests. The accepting thread only hands the connection over: threads are made by a
// thread of their own (a burst of connections must not overflow the listening queue while
// threads are being made) and linger a few seconds for the next connection; an idle server has
// none. Past the cap, connections wait in order for a thread (their number bounded by the
// process's descriptors).
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
    static void *threadMain(void *owner);
    void makeThreads();
    void work();

    const std::size_t maxThreads_;
    const std::size_t stackBytes_;
    std::mutex mutex_;
    std::condition_variable connectionWaits_;
    std::condition_variable threadWanted_;
    std::condition_variable threadEnded_;
    std::deque<std::function<void()>> waiting_;
    // Threads alive, those being started, and those waiting for a connection.
    std::size_t running_ = 0;
    std::size_t starting_ = 0;
    std::size_t idle_ = 0;
    bool shuttingDown_ = false;
    std::thread maker_;
};

} // namespace TunewellCloud
