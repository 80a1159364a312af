#pragma once

#include <string>

namespace Tunewell::Test {

// A black hole on loopback: the system accepts connections on its port (they wait in the listen
// queue), and nothing ever reads a request or answers one.
class TSilentPeer {
public:
    TSilentPeer();
    ~TSilentPeer();
    TSilentPeer(const TSilentPeer &) = delete;
    TSilentPeer &operator=(const TSilentPeer &) = delete;

    // "http://127.0.0.1:PORT"
    std::string BaseURL() const;

private:
    int fListener = -1;
    int fPort = 0;
};

} // namespace Tunewell::Test
