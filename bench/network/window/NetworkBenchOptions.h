#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace TunewellBench {

struct NetworkBenchOptions {
    enum class TPhase { Start, Reload, Close };
    TPhase Phase = TPhase::Start;
    std::string ProfileID;
    // The fault-making peer's control port.
    int ControlPort = 0;
    // The peer's mode for the reloads or the close; the start meets the mode the peer was
    // started with.
    std::string Fault = "pass";
    // The longest a phase runs: the start from the launch, a reload from its child window's
    // opening, the close from its request.
    std::chrono::milliseconds Cap{60000};
    // How long the start or a reload is watched after its sequence ended.
    std::chrono::milliseconds Settle{10000};
};

inline constexpr const char *kNetworkBenchUsage =
    "usage: network-bench start|reload|close PROFILE_ID --control PORT [--fault MODE]\n"
    "                     [--cap-ms N] [--settle-ms N]\n";

// nullopt for a command line that does not fit the usage.
std::optional<NetworkBenchOptions> ParseNetworkBenchOptions(int Argc, char **Argv);

} // namespace TunewellBench
