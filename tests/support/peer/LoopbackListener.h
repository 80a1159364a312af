#pragma once

namespace Tunewell::Test {

// A TCP socket listening on a free port of 127.0.0.1, for the peers beneath any HTTP library.
struct TLoopbackListener {
    int Descriptor = -1;
    int Port = 0;
};

// Throws std::runtime_error, naming Who, when no socket can listen.
TLoopbackListener ListenOnLoopback(const char *Who);

} // namespace Tunewell::Test
