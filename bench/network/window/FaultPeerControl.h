#pragma once

#include <stdexcept>
#include <string>

namespace TunewellBench {

// The fault-making peer's control port did not answer.
class EFaultPeerControl : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Sends one line to the peer's control port on loopback and returns its one-line answer;
// any thread. Throws EFaultPeerControl.
std::string AskFaultPeer(int ControlPort, const std::string &Line);

} // namespace TunewellBench
