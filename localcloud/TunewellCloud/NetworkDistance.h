#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <httplib.h>

namespace TunewellCloud {

// The distance a server of the local cloud pretends to be at, and its count of the connections
// it accepted. With a latency L, every answer is held back by L, and no request of a new
// connection is read before L has passed since its accept, as a TCP handshake's round trip would
// cost (TLS would add one or two more): a connection opened ahead of its first request has paid
// it by then. With no latency nothing waits; the count is kept either way.
class NetworkDistance {
public:
    explicit NetworkDistance(std::chrono::milliseconds latency);

    // Gives the server a pool of that many threads that counts and delays as described.
    void install(httplib::Server &server, int threads);
    std::uint64_t connectionsAccepted() const { return accepted_; }

private:
    const std::chrono::milliseconds latency_;
    std::atomic<std::uint64_t> accepted_{0};
};

} // namespace TunewellCloud
