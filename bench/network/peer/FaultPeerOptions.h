#pragma once

#include "FaultMode.h"
#include "LoopbackSocket.h"

#include <stdexcept>

namespace TunewellBench {

// A command line the peer cannot run with; the message says why.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FaultPeerOptions {
    // The local cloud's two ports the peer stands in front of.
    SocketAddress Database;
    SocketAddress Identity;
    FaultMode Mode;
    // The peer's own ports on loopback; 0 picks free ones.
    int DatabasePort = 0;
    int IdentityPort = 0;
    int ControlPort = 0;
};

inline constexpr const char *kFaultPeerUsage =
    "usage: fault-peer --database HOST:PORT --identity HOST:PORT [--mode MODE]\n"
    "                  [--database-port N] [--identity-port N] [--control-port N]\n"
    "MODE: pass, trickle[:BYTES_PER_S], blackhole, refused, 503, reset-catalogue[:BYTES],\n"
    "      bandwidth[:KBIT_PER_S]\n";

// Throws EUsage.
FaultPeerOptions ParseFaultPeerOptions(int Argc, char **Argv);

} // namespace TunewellBench
