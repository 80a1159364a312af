#include "FaultPeerOptions.h"

#include <string>

namespace TunewellBench {

namespace {

int Port(const std::string &Text) {
    try {
        const int port = std::stoi(Text);
        if (port >= 0 && port < 65536 && std::to_string(port) == Text)
            return port;
    } catch (const std::exception &) {
    }
    throw EUsage("not a port: " + Text);
}

} // namespace

FaultPeerOptions ParseFaultPeerOptions(int Argc, char **Argv) {
    FaultPeerOptions options;
    bool database = false;
    bool identity = false;
    for (int i = 1; i < Argc; i += 2) {
        const std::string name = Argv[i];
        if (i + 1 >= Argc)
            throw EUsage(name + " needs a value");
        const std::string value = Argv[i + 1];
        try {
            if (name == "--database") {
                options.Database = ParseSocketAddress(value);
                database = true;
            } else if (name == "--identity") {
                options.Identity = ParseSocketAddress(value);
                identity = true;
            } else if (name == "--mode") {
                const auto mode = ParseFaultMode(value);
                if (!mode)
                    throw EUsage("unknown mode: " + value);
                options.Mode = *mode;
            } else if (name == "--database-port") {
                options.DatabasePort = Port(value);
            } else if (name == "--identity-port") {
                options.IdentityPort = Port(value);
            } else if (name == "--control-port") {
                options.ControlPort = Port(value);
            } else {
                throw EUsage("unknown option: " + name);
            }
        } catch (const ESocketError &error) {
            throw EUsage(error.what());
        }
    }
    if (!database || !identity)
        throw EUsage("--database and --identity are needed");
    return options;
}

} // namespace TunewellBench
