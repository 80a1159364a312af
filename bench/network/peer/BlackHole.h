#pragma once

#include "ConnectionState.h"

namespace TunewellBench {

// Reads and drops whatever Client sends and never answers, until Client ends the connection or
// it is cut; never ends it first.
void SwallowAll(int Client, ConnectionState &State);

} // namespace TunewellBench
