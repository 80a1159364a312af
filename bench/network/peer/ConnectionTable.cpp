#include "ConnectionTable.h"

namespace TunewellBench {

ConnectionTable::~ConnectionTable() {
    CutAll();
    for (Entry &entry : Entries_)
        entry.Thread.join();
}

void ConnectionTable::Start(std::function<void(ConnectionState &)> Serve) {
    auto state = std::make_unique<ConnectionState>();
    ConnectionState &shared = *state;
    Entries_.push_back({std::move(state), std::thread([&shared, serve = std::move(Serve)] {
                            serve(shared);
                            shared.Finished = true;
                        })});
}

void ConnectionTable::CutAll() {
    for (Entry &entry : Entries_)
        entry.State->Cut = true;
}

void ConnectionTable::Reap() {
    for (auto entry = Entries_.begin(); entry != Entries_.end();) {
        if (!entry->State->Finished) {
            ++entry;
            continue;
        }
        entry->Thread.join();
        entry = Entries_.erase(entry);
    }
}

} // namespace TunewellBench
