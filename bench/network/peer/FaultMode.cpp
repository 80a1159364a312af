#include "FaultMode.h"

#include <array>
#include <charconv>

namespace TunewellBench {

namespace {

struct ModeName {
    FaultMode::TKind Kind;
    const char *Name;
    // The default amount; 0 for a mode that takes none.
    long Amount;
};

constexpr std::array<ModeName, 7> kModes{{
    {FaultMode::TKind::Pass, "pass", 0},
    {FaultMode::TKind::Trickle, "trickle", 2},
    {FaultMode::TKind::BlackHole, "blackhole", 0},
    {FaultMode::TKind::Refused, "refused", 0},
    {FaultMode::TKind::Unavailable, "503", 0},
    {FaultMode::TKind::ResetCatalogue, "reset-catalogue", 4096},
    {FaultMode::TKind::Bandwidth, "bandwidth", 2000},
}};

} // namespace

std::optional<FaultMode> ParseFaultMode(const std::string &Text) {
    const auto colon = Text.find(':');
    const std::string name = Text.substr(0, colon);
    for (const ModeName &mode : kModes) {
        if (name != mode.Name)
            continue;
        if (colon == std::string::npos)
            return FaultMode{mode.Kind, mode.Amount};
        long amount = 0;
        const char *first = Text.data() + colon + 1;
        const char *last = Text.data() + Text.size();
        const auto [end, error] = std::from_chars(first, last, amount);
        if (mode.Amount == 0 || error != std::errc{} || end != last || amount <= 0)
            return std::nullopt;
        return FaultMode{mode.Kind, amount};
    }
    return std::nullopt;
}

std::string FaultModeName(const FaultMode &Mode) {
    for (const ModeName &mode : kModes)
        if (mode.Kind == Mode.Kind)
            return mode.Amount == 0 ? mode.Name : std::string(mode.Name) + ":" + std::to_string(Mode.Amount);
    return "?";
}

} // namespace TunewellBench
