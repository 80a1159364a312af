#include "Tunewell/BuildValues.h"
#include "TunewellCloud/CatalogueSeeder.h"
#include "TunewellCloud/CloudServer.h"
#include "TunewellCloud/CommandLine.h"
#include "TunewellCloud/DemoStation.h"
#include "TunewellCloud/HttpServers.h"
#include "TunewellCloud/RequestError.h"

#include <atomic>
#include <csignal>
#include <functional>
#include <iostream>
#include <optional>
#include <pthread.h>
#include <thread>

using namespace TunewellCloud;

namespace {

// SIGINT and SIGTERM are taken by one waiting thread, which stops the server. They are blocked
// before any server thread starts, so every thread inherits the mask, and a signal that the
// starting shell ignores for background jobs (SIGINT) still arrives.
sigset_t blockStopSignals() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return stopSignals;
}

// Runs Serve until it returns; a stop signal meanwhile calls Stop, which makes Serve return.
bool serveUntilStopped(const sigset_t &StopSignals, const std::function<bool()> &Serve,
                       const std::function<void()> &Stop) {
    std::atomic<bool> ended{false};
    std::thread waiter([&Stop, &ended, StopSignals] {
        int received = 0;
        sigwait(&StopSignals, &received);
        if (!ended) {
            std::cerr << "tunewell-cloud: stopping" << std::endl;
            Stop();
        }
    });
    const bool served = Serve();
    // The server may also have ended on its own; the waiter is woken either way.
    ended = true;
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return served;
}

int serve(const CommandLine &line) {
    const sigset_t stopSignals = blockStopSignals();
    const CloudOptions options = line.cloudOptions();
    std::optional<CloudServer> server;
    try {
        server.emplace(options);
    } catch (const DataFolderInUse &error) {
        // The program's cloud is one per user: a second start (two programs starting at once)
        // finds the first one serving, which is what it was started for.
        if (!options.forProgram)
            throw;
        std::cerr << "tunewell-cloud: " << error.what() << ", which serves the program" << std::endl;
        return 0;
    }
    if (!server->provided().empty())
        std::cerr << "tunewell-cloud: added " << server->provided() << std::endl;
    server->bind();
    std::cerr << "tunewell-cloud: security rules "
              << (server->rulesSource() == "open" ? "open: every signed-in caller reads and writes everything"
                                                  : "of " + server->rulesSource())
              << std::endl;
    std::cout << "database " << server->databaseAddress() << "\n"
              << "identity " << server->identityAddress() << "\n"
              << "ready" << std::endl;
    serveUntilStopped(
        stopSignals,
        [&server] {
            server->run();
            return true;
        },
        [&server] { server->stop(); });
    return 0;
}

int addAccount(const CommandLine &line) {
    line.allowOnly({"data"});
    if (!line.has("data") || line.arguments.size() != 2)
        throw UsageError("add-account needs --data DIR, EMAIL and PASSWORD");
    CloudOptions options;
    options.dataFolder = line.text("data", "");
    options.apiKey = "unused";
    DataFolder folder(options.dataFolder);
    const TokenSigner signer = TokenSigner::forFolder(folder.path());
    AccountStore accounts(folder.path() / "accounts", {});
    IdentityService identity(accounts, signer, options);
    std::cout << identity.addAccount(line.arguments[0], line.arguments[1]) << std::endl;
    return 0;
}

int seed(const CommandLine &line) {
    line.allowOnly({"data", "catalogue", "version", "download-url"});
    if (!line.has("data") || !line.has("catalogue"))
        throw UsageError("seed needs --data DIR and --catalogue FILE");
    DataFolder folder(line.text("data", ""));
    Database database(folder.path() / "database", {});
    const int stations =
        CatalogueSeeder::seed(database, line.text("catalogue", ""), line.text("version", "2.2"),
                              line.text("download-url", "https://tunewell.local/download"));
    std::cout << stations << " stations" << std::endl;
    return 0;
}

int radio(const CommandLine &line) {
    line.allowOnly({"folder", "port", "address", "metaint", "rate", "tls", "data", "cert", "key"});
    if (!line.has("folder"))
        throw UsageError("radio needs --folder DIR");
    const TlsOptions tls = line.tlsOptions();
    if (tls.enabled && tls.certificateFile.empty() && !line.has("data"))
        throw UsageError(
            "radio --tls needs --data DIR (whose authority signs its certificate) or --cert and --key");
    const sigset_t stopSignals = blockStopSignals();
    DemoStation::Figures figures;
    figures.metaInterval = static_cast<std::size_t>(line.number("metaint", 16000, 1, 1 << 20));
    figures.bytesPerSecond = static_cast<std::size_t>(line.number("rate", 16000, 1000, 1 << 26));
    DemoStation station(line.text("folder", ""), figures);
    const auto server = HttpServers::make(HttpServers::credentials(tls, line.text("data", "")));
    server->set_tcp_nodelay(true);
    station.install(*server);
    const std::string address = line.text("address", "127.0.0.1");
    const int wanted = static_cast<int>(line.number("port", 8000, 0, 65535));
    const int port = wanted == 0 ? server->bind_to_any_port(address)
                                 : (server->bind_to_port(address, wanted) ? wanted : -1);
    if (port <= 0)
        throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(wanted));
    std::cout << "radio " << HttpServers::scheme(tls) << "://" << address << ":" << port << "/\nready"
              << std::endl;
    const bool served = serveUntilStopped(
        stopSignals, [&server] { return server->listen_after_bind(); }, [&server] { server->stop(); });
    return served ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    try {
        const std::vector<std::string> words(argv + 1, argv + argc);
        const CommandLine line =
            CommandLine::parse(words, {"no-anonymous", "tls", "program-defaults", "unix-sockets", "owner-access"});
        if (line.command == "serve")
            return serve(line);
        if (line.command == "add-account")
            return addAccount(line);
        if (line.command == "seed")
            return seed(line);
        if (line.command == "radio")
            return radio(line);
        if (line.command == "help" || line.command == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (line.command == "--version") {
            std::cout << "tunewell-cloud " << Tunewell::BuildValues::kVersion << std::endl;
            return 0;
        }
        throw UsageError("unknown command " + line.command);
    } catch (const UsageError &error) {
        std::cerr << "tunewell-cloud: " << error.what() << "\n" << kUsage;
        return 2;
    } catch (const RequestError &error) {
        std::cerr << "tunewell-cloud: " << error.what() << std::endl;
        return 1;
    } catch (const std::exception &error) {
        std::cerr << "tunewell-cloud: " << error.what() << std::endl;
        return 1;
    }
}
