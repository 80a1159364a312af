#pragma once

#include "ConnectionState.h"

#include <string>

namespace TunewellBench {

// The body of a 503 answer as each service words it.
std::string DatabaseUnavailableBody();
std::string IdentityUnavailableBody();

// Answers each request Client sends (head and Content-Length body) with 503 Service
// Unavailable, Body as a JSON body, on a connection kept open; until Client ends it or it is cut.
void AnswerUnavailable(int Client, const std::string &Body, ConnectionState &State);

} // namespace TunewellBench
