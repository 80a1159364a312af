#include "NetworkBenchOptions.h"

namespace TunewellBench {

namespace {

std::optional<long> Number(const std::string &Text) {
    try {
        std::size_t end = 0;
        const long value = std::stol(Text, &end);
        if (end == Text.size() && value > 0)
            return value;
    } catch (const std::exception &) {
    }
    return std::nullopt;
}

} // namespace

std::optional<NetworkBenchOptions> ParseNetworkBenchOptions(int Argc, char **Argv) {
    if (Argc < 3)
        return std::nullopt;
    NetworkBenchOptions options;
    const std::string phase = Argv[1];
    if (phase == "start")
        options.Phase = NetworkBenchOptions::TPhase::Start;
    else if (phase == "reload")
        options.Phase = NetworkBenchOptions::TPhase::Reload;
    else if (phase == "close")
        options.Phase = NetworkBenchOptions::TPhase::Close;
    else
        return std::nullopt;
    options.ProfileID = Argv[2];
    for (int i = 3; i + 1 < Argc; i += 2) {
        const std::string name = Argv[i];
        const std::string value = Argv[i + 1];
        const auto number = Number(value);
        if (name == "--fault")
            options.Fault = value;
        else if (name == "--control" && number)
            options.ControlPort = static_cast<int>(*number);
        else if (name == "--cap-ms" && number)
            options.Cap = std::chrono::milliseconds(*number);
        else if (name == "--settle-ms" && number)
            options.Settle = std::chrono::milliseconds(*number);
        else
            return std::nullopt;
    }
    if (Argc % 2 == 0 || options.ControlPort == 0)
        return std::nullopt;
    return options;
}

} // namespace TunewellBench
