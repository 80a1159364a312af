#pragma once

#include <atomic>

namespace TunewellBench {

// What the peer and one connection it serves share.
struct ConnectionState {
    // Set to end the connection with a reset; the connection's own thread closes it.
    std::atomic<bool> Cut{false};
    std::atomic<bool> Finished{false};
};

} // namespace TunewellBench
