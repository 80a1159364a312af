#pragma once

namespace Cumulo {

// libcurl's set-up for the whole process, once, before the first transfer of any part of the
// program. OpenSSL is told not to tear itself down at exit: a detached worker (an asynchronous
// request) may still be in a TLS handshake while the process ends.
void EnsureCurlInitialised();

} // namespace Cumulo
