#pragma once

#include "Cumulo/Authentication.h"

#include <memory>

namespace TunewellTesting {

// The build's service account signed in at these endpoints (a local cloud or a front before it),
// on the given clock (the system's when none).
std::shared_ptr<Cumulo::TFirebaseAuthentication>
SignedInServiceAccount(const Cumulo::TAuthenticationEndpoints &Endpoints,
                       std::shared_ptr<const Cumulo::IClock> Clock = nullptr);

} // namespace TunewellTesting
