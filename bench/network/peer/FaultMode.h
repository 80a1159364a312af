#pragma once

#include <optional>
#include <string>

namespace TunewellBench {

// What the fault-making peer does to the connections it accepts.
struct FaultMode {
    enum class TKind {
        // Relays both ways untouched.
        Pass,
        // Relays, every answer at Amount bytes per second.
        Trickle,
        // Accepts, reads what comes, never answers and never closes first.
        BlackHole,
        // Nothing listens: connections are refused.
        Refused,
        // Answers every request with 503 and a small body, as a service's front does when the
        // service behind it is down.
        Unavailable,
        // Relays, but resets the first connection that carries the catalogue's answer after
        // Amount bytes of it.
        ResetCatalogue,
        // Relays through a link of Amount kilobits per second each way, shared by every connection.
        Bandwidth,
    };
    TKind Kind = TKind::Pass;
    long Amount = 0;
};

// "pass", "trickle[:BYTES_PER_SECOND]" (2), "blackhole", "refused", "503",
// "reset-catalogue[:BYTES]" (4096), "bandwidth[:KILOBITS_PER_SECOND]" (2000); nullopt for
// anything else.
std::optional<FaultMode> ParseFaultMode(const std::string &Text);
// The mode's text as ParseFaultMode reads it, amount included.
std::string FaultModeName(const FaultMode &Mode);

} // namespace TunewellBench
