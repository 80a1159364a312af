#pragma once

#include "ConnectionState.h"
#include "LoopbackSocket.h"
#include "SendSchedule.h"

#include <atomic>
#include <memory>

namespace TunewellBench {

struct RelayRules {
    Pace ToClient;
    Pace ToUpstream;
    // When given: the first connection that claims it (by carrying a request of the catalogue)
    // is reset after ResetAfter bytes of the catalogue's answer.
    std::shared_ptr<std::atomic<bool>> CatalogueResetClaimed;
    long ResetAfter = 0;
};

// Relays Client to Upstream and back until both have ended their sides, either fails, or the
// connection is cut; an end on one side is passed on as an end of writing on the other. Sets
// State.Cut when the connection must end with a reset.
void Relay(int Client, int Upstream, const RelayRules &Rules, ConnectionState &State);

} // namespace TunewellBench
