#pragma once

#include <string>

namespace Cumulo {

// Opens a connection to the origin of URL in the background, ahead of the requests to come: the
// program signs in with one service and then talks to another, and would otherwise pay the
// second handshake after the sign-in's answer. It sends a GET of URL without credentials, whose
// answer nobody reads (a refusal keeps the connection as well as an answer), and leaves the
// connection to the transport; the first request to that origin waits for it a moment instead
// of opening its own. Does nothing when a connection there is kept or being opened already.
// Raises nothing: a host that cannot be reached now is the next request's to report.
void OpenConnectionAhead(const std::string &URL);

} // namespace Cumulo
