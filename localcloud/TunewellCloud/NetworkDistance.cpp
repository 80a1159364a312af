#include "TunewellCloud/NetworkDistance.h"

#include "TunewellCloud/ConnectionThreads.h"

#include <memory>
#include <thread>

namespace TunewellCloud {

namespace {

// Enough for the deepest request a connection's thread serves (TLS, rules, JSON).
// The HTTP library matches its routes with std::regex, which recurses along the path, up to the
// library's 8 KiB limit of a request line: 512 KiB overflowed at a 7 KB path. A stack is reserved
// address space; only the pages a connection touches become resident.
constexpr std::size_t kConnectionStackBytes = 8u << 20;

// cpp-httplib hands every connection it accepts to its task queue as one task.
class CountingTaskQueue : public httplib::TaskQueue {
public:
    CountingTaskQueue(int threads, std::atomic<std::uint64_t> &accepted, std::chrono::milliseconds handshakes,
                      ConnectionActivity *activity)
        : pool_(static_cast<std::size_t>(threads), kConnectionStackBytes), accepted_(accepted),
          handshakes_(handshakes), activity_(activity) {}

    // The handshake's cost runs from the accept, as on a network, not from when a thread of the
    // pool gets to the connection: a client that connects ahead of its first request has paid it
    // by the time it asks.
    void enqueue(std::function<void()> connection) override {
        ++accepted_;
        if (activity_)
            activity_->opened();
        pool_.enqueue([connection = std::move(connection),
                       readable = std::chrono::steady_clock::now() + handshakes_, activity = activity_] {
            std::this_thread::sleep_until(readable);
            connection();
            if (activity)
                activity->closed();
        });
    }
    void shutdown() override { pool_.shutdown(); }
    void on_idle() override { pool_.on_idle(); }

private:
    ConnectionThreads pool_;
    std::atomic<std::uint64_t> &accepted_;
    const std::chrono::milliseconds handshakes_;
    ConnectionActivity *const activity_;
};

} // namespace

NetworkDistance::NetworkDistance(std::chrono::milliseconds latency, int handshakeRoundTrips,
                                 ConnectionActivity *activity)
    : latency_(latency), handshakeRoundTrips_(handshakeRoundTrips), activity_(activity) {}

void NetworkDistance::install(httplib::Server &server, int threads) {
    server.new_task_queue = [this, threads] {
        return std::make_unique<CountingTaskQueue>(threads, accepted_, latency_ * handshakeRoundTrips_,
                                                   activity_)
            .release();
    };
}

void NetworkDistance::holdAnswer() const {
    if (latency_.count() > 0)
        std::this_thread::sleep_for(latency_);
}

} // namespace TunewellCloud
