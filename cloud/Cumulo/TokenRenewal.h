#pragma once

#include "Cumulo/Interfaces.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace Cumulo {

struct TTokenRenewal {
    enum TOutcome { Renewed, Failed, Stopped };
    TOutcome Outcome = Failed;
    // Why it failed: the service's error text, or what else went wrong.
    std::string ErrMsg;
};

// Renews the token of Auth for a listener thread, which must stay stoppable meanwhile: the
// renewal runs aside (on a worker thread, or on the main thread when the local clock still finds
// the token fresh and it has to be forced), and the wait for it ends as soon as Stopping is set.
// A renewal that outlives the wait ends on its own and keeps Auth alive until then. Never raises:
// a refused or failed renewal comes back as Failed.
TTokenRenewal RenewTokenAside(const std::shared_ptr<IFirebaseAuthentication> &Auth,
                              const std::atomic<bool> &Stopping);

} // namespace Cumulo
