#pragma once

#include "TunewellCloud/ConnectionActivity.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <httplib.h>

namespace TunewellCloud {

// The distance a server of the local cloud pretends to be at, and its count of the connections
// it accepted. With a latency L, every answer is held back by L, and nothing of a new connection
// is read before its handshakes' round trips have passed since its accept, L each: TCP's, and
// over TLS 1.3 one more; a connection opened ahead of its first request has paid them by then.
// With no latency nothing waits; the count is kept either way, and each connection is told to
// Activity, when given, from its accept to its end.
class NetworkDistance {
public:
    explicit NetworkDistance(std::chrono::milliseconds latency, int handshakeRoundTrips = 1,
                             ConnectionActivity *activity = nullptr);

    // Gives the server a thread for each connection, that many at most (ConnectionThreads), which
    // counts and delays connections as described.
    void install(httplib::Server &server, int threads);
    // Holds an answer back; the server's pre-routing handler calls it for each request.
    void holdAnswer() const;
    std::uint64_t connectionsAccepted() const { return accepted_; }

private:
    const std::chrono::milliseconds latency_;
    const int handshakeRoundTrips_;
    ConnectionActivity *const activity_;
    std::atomic<std::uint64_t> accepted_{0};
};

} // namespace TunewellCloud
