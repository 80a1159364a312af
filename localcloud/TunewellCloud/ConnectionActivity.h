#pragma once

#include <chrono>
#include <mutex>

namespace TunewellCloud {

// Whether the servers of a cloud have had anything to do: connections open now (a request being
// answered, a kept connection, an event stream) and when the last one ended.
class ConnectionActivity {
public:
    using Clock = std::chrono::steady_clock;

    ConnectionActivity();
    void opened();
    void closed();
    // How long no connection has been open: zero while one is, since the start before any.
    Clock::duration idleFor(Clock::time_point now = Clock::now()) const;

private:
    mutable std::mutex mutex_;
    int open_ = 0;
    Clock::time_point lastClosed_;
};

} // namespace TunewellCloud
