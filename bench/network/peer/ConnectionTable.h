#pragma once

#include "ConnectionState.h"

#include <functional>
#include <list>
#include <memory>
#include <thread>

namespace TunewellBench {

// The connections the peer serves, each on a thread of its own. Used from the peer's one
// accepting thread only.
class ConnectionTable {
public:
    ConnectionTable() = default;
    ConnectionTable(const ConnectionTable &) = delete;
    ConnectionTable &operator=(const ConnectionTable &) = delete;
    // Cuts every connection and waits for their threads.
    ~ConnectionTable();

    // Runs Serve on a new thread; it must return soon after its state's Cut turns true.
    void Start(std::function<void(ConnectionState &)> Serve);
    // Every connection open now ends with a reset.
    void CutAll();
    // Forgets the connections that ended.
    void Reap();

private:
    struct Entry {
        std::unique_ptr<ConnectionState> State;
        std::thread Thread;
    };
    std::list<Entry> Entries_;
};

} // namespace TunewellBench
