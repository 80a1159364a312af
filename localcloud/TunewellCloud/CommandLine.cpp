#include "TunewellCloud/CommandLine.h"

#include <Tunewell/BuildValues.h>
#include <Tunewell/LocalCloudFolder.h>
#include <algorithm>

namespace TunewellCloud {

const char *const kUsage =
    "usage:\n"
    "  tunewell-cloud serve --program-defaults [--data DIR] [--idle-exit 600]\n"
    "  tunewell-cloud serve --data DIR [--db-port 9000] [--auth-port 9099] [--address 127.0.0.1]\n"
    "                       [--unix-sockets]\n"
    "                       [--api-key K] [--project-id P] [--token-lifetime S] [--keep-alive S]\n"
    "                       [--oob-lifetime S] [--body-limit BYTES] [--threads N] [--no-anonymous]\n"
    "                       [--latency MS] [--rules FILE|open] [--tls [--cert FILE --key FILE]]\n"
    "                       [--idle-exit SECONDS] [--owner-access]\n"
    "  tunewell-cloud add-account --data DIR EMAIL PASSWORD\n"
    "  tunewell-cloud seed --data DIR --catalogue FILE [--version 2.2] [--download-url URL]\n"
    "  tunewell-cloud radio --folder DIR [--port 8000] [--address 127.0.0.1] [--metaint 16000]\n"
    "                       [--tls (--data DIR | --cert FILE --key FILE)]\n"
    "  tunewell-cloud --help | --version\n"
    "Port 0 picks a free port; the chosen ports are printed. --unix-sockets serves on\n"
    "DIR/database.sock and DIR/identity.sock instead, which only the folder's owner reaches. With\n"
    "--tls the servers speak HTTPS with a certificate signed by the data folder's own authority\n"
    "(DIR/ca.pem), or with the one given by --cert and --key. --program-defaults serves the\n"
    "program's own cloud: its data in $XDG_DATA_HOME/tunewell/cloud, HTTPS on the folder's Unix\n"
    "sockets (on ports when --db-port, --auth-port or --address is given), the API key and project\n"
    "ID the program was built with, the program's service account, catalogue and version added at\n"
    "the first start, and an end after 600 seconds without a connection once no program uses it\n"
    "(--idle-exit 0: never). The addresses served are printed as \"database ADDRESS\" and\n"
    "\"identity ADDRESS\", a Unix socket as unix:PATH. --owner-access lets \"Authorization: Bearer\n"
    "owner\" pass the rules and name accounts, and lists the out-of-band codes; for tests and\n"
    "development only, never with --program-defaults.\n";

CommandLine CommandLine::parse(const std::vector<std::string> &words, const std::vector<std::string> &flags) {
    CommandLine line;
    if (words.empty())
        throw UsageError("no command given");
    line.command = words.front();
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (word.rfind("--", 0) != 0 || word.size() == 2) {
            line.arguments.push_back(word);
            continue;
        }
        const std::string name = word.substr(2);
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            line.options[name] = "";
        } else {
            if (i + 1 >= words.size())
                throw UsageError("--" + name + " needs a value");
            line.options[name] = words[++i];
        }
    }
    return line;
}

std::string CommandLine::text(const std::string &name, const std::string &fallback) const {
    const auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
}

long long CommandLine::number(const std::string &name, long long fallback, long long lowest,
                              long long highest) const {
    const auto found = options.find(name);
    if (found == options.end())
        return fallback;
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(found->second, &used);
    } catch (const std::exception &) {
        used = 0;
    }
    if (used == 0 || used != found->second.size() || value < lowest || value > highest)
        throw UsageError("--" + name + " needs a whole number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest));
    return value;
}

void CommandLine::allowOnly(const std::vector<std::string> &names) const {
    for (const auto &[name, value] : options)
        if (std::find(names.begin(), names.end(), name) == names.end())
            throw UsageError("unknown option --" + name + " for " + command);
}

CloudOptions CommandLine::cloudOptions() const {
    allowOnly({"data",
               "db-port",
               "auth-port",
               "address",
               "api-key",
               "project-id",
               "token-lifetime",
               "keep-alive",
               "oob-lifetime",
               "body-limit",
               "threads",
               "no-anonymous",
               "latency",
               "rules",
               "tls",
               "cert",
               "key",
               "idle-exit",
               "program-defaults",
               "unix-sockets",
               "owner-access"});
    CloudOptions options;
    options.forProgram = has("program-defaults");
    if (options.forProgram && !Tunewell::BuildValues::kLocalCloud)
        throw UsageError(std::string("--program-defaults serves the program's own local cloud, and this "
                                     "build addresses another one: ") +
                         Tunewell::BuildValues::kDatabaseUrl);
    options.ownerAccess = has("owner-access");
    if (options.forProgram && options.ownerAccess)
        throw UsageError("--owner-access opens the administrator's door, which the program's own cloud never "
                         "has: leave out --program-defaults or --owner-access");
    if (!has("data") && !options.forProgram)
        throw UsageError("--data DIR is required");
    options.dataFolder = has("data") ? std::filesystem::path(text("data", "")) : Tunewell::LocalCloudFolder();
    if (options.forProgram) {
        options.databasePort = Tunewell::BuildValues::kLocalDatabasePort;
        options.authPort = Tunewell::BuildValues::kLocalAuthPort;
    }
    const bool portsGiven = has("db-port") || has("auth-port") || has("address");
    if (has("unix-sockets") && portsGiven)
        throw UsageError(
            "--unix-sockets serves on no port: --db-port, --auth-port and --address do not go with it");
    options.unixSockets = has("unix-sockets") || (options.forProgram && !portsGiven);
    options.address = text("address", options.address);
    options.databasePort = static_cast<int>(number("db-port", options.databasePort, 0, 65535));
    options.authPort = static_cast<int>(number("auth-port", options.authPort, 0, 65535));
    options.apiKey = text("api-key", Tunewell::BuildValues::kApiKey);
    options.projectId = text("project-id", Tunewell::BuildValues::kProjectId);
    options.tokenLifetimeSeconds =
        static_cast<int>(number("token-lifetime", options.tokenLifetimeSeconds, 1, 86400));
    options.keepAliveSeconds = static_cast<int>(number("keep-alive", options.keepAliveSeconds, 1, 3600));
    options.oobCodeLifetimeSeconds =
        static_cast<int>(number("oob-lifetime", options.oobCodeLifetimeSeconds, 1, 7 * 86400));
    options.bodyLimitBytes = static_cast<std::size_t>(
        number("body-limit", static_cast<long long>(options.bodyLimitBytes), 1024, 1ll << 30));
    options.threads = static_cast<int>(number("threads", options.threads, 4, 4096));
    options.anonymousSignIn = !has("no-anonymous");
    options.latencyMs = static_cast<int>(number("latency", options.latencyMs, 0, 10000));
    options.tls = tlsOptions();
    options.tls.enabled = options.tls.enabled || options.forProgram;
    options.idleExitSeconds =
        static_cast<int>(number("idle-exit", options.forProgram ? 600 : 0, 0, 7 * 86400));
    if (options.apiKey.empty())
        throw UsageError("--api-key must not be empty");
    options.rules = text("rules", "");
    if (has("rules") && options.rules.empty())
        throw UsageError("--rules needs a rules file, or open");
    return options;
}

TlsOptions CommandLine::tlsOptions() const {
    if (has("cert") != has("key"))
        throw UsageError("--cert FILE and --key FILE go together");
    TlsOptions tls;
    tls.enabled = has("tls") || has("cert");
    tls.certificateFile = text("cert", "");
    tls.keyFile = text("key", "");
    return tls;
}

} // namespace TunewellCloud
