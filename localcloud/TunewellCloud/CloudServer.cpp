#include "TunewellCloud/CloudServer.h"

#include "TunewellCloud/AnswerCompression.h"
#include "TunewellCloud/HttpReplies.h"
#include "TunewellCloud/HttpServers.h"
#include "TunewellCloud/ProgramFiles.h"
#include "TunewellCloud/ProgramProvisioning.h"

#include <Tunewell/LocalCloudFolder.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <stdexcept>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>

namespace TunewellCloud {

namespace {

DurableLog::Figures logFigures(const CloudOptions &options) {
    DurableLog::Figures figures;
    figures.compactAfterBytes = options.compactAfterBytes;
    return figures;
}

Database::Figures databaseFigures(const CloudOptions &options) {
    Database::Figures figures;
    figures.log = logFigures(options);
    return figures;
}

int bindServer(httplib::Server &server, const std::string &address, int port) {
    if (port == 0) {
        const int chosen = server.bind_to_any_port(address);
        if (chosen <= 0)
            throw std::runtime_error("cannot listen on " + address);
        return chosen;
    }
    if (!server.bind_to_port(address, port))
        throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(port));
    return port;
}

// A Unix socket's path must fit its address, with the closing zero.
constexpr std::size_t kLongestSocketPath = sizeof(sockaddr_un::sun_path) - 1;

// httplib takes the socket's path for the host; the port is only checked to be nonzero.
constexpr int kAnyNonzeroPort = 1;

std::filesystem::path bindSocket(httplib::Server &server, const std::filesystem::path &path) {
    if (path.string().size() > kLongestSocketPath)
        throw std::runtime_error("cannot listen on unix:" + path.string() + ": the path is longer than " +
                                 std::to_string(kLongestSocketPath) + " bytes");
    // A socket file outlives a server killed by a signal; the folder's lock says none uses it now.
    std::error_code error;
    if (std::filesystem::is_socket(std::filesystem::symlink_status(path, error)))
        std::filesystem::remove(path, error);
    server.set_address_family(AF_UNIX);
    if (!server.bind_to_port(path.string(), kAnyNonzeroPort))
        throw std::runtime_error("cannot listen on unix:" + path.string() + ": " + std::strerror(errno));
    // The folder already keeps others out; the socket does too, should the folder be opened.
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::replace);
    return path;
}

std::string rulesSourceOf(const std::string &choice) {
    return choice.empty() ? defaultRulesFile().string() : choice;
}

SecurityRules rulesFrom(const std::string &source) {
    return source == "open" ? SecurityRules::open() : SecurityRules::fromFile(source);
}

// TCP's, and TLS 1.3's one more.
int handshakeRoundTrips(const CloudOptions &options) {
    return options.tls.enabled ? 2 : 1;
}

// Seconds a connection may wait for the next piece of a request; a client that sends a byte
// every few seconds no longer holds its thread for good.
constexpr int kReadTimeoutSeconds = 5;

void configure(httplib::Server &server, NetworkDistance &distance, int threads, const RequestLimits &limits) {
    distance.install(server, threads);
    server.set_keep_alive_max_count(100000);
    // Answers go out in pieces; without this, delayed acknowledgements stall each exchange.
    server.set_tcp_nodelay(true);
    server.set_read_timeout(kReadTimeoutSeconds, 0);
    // Runs once the head is read and before any of the body is.
    server.set_pre_routing_handler(
        [&distance, &limits](const httplib::Request &request, httplib::Response &response) {
            distance.holdAnswer();
            return limits.check(request, response);
        });
    server.set_post_routing_handler(AnswerCompression::compressWhenAsked);
}

} // namespace

CloudServer::CloudServer(CloudOptions options)
    : options_(std::move(options)), rulesSource_(rulesSourceOf(options_.rules)),
      rules_(rulesFrom(rulesSource_)), folder_(options_.dataFolder),
      signer_(TokenSigner::forFolder(folder_.path())),
      database_(folder_.path() / "database", databaseFigures(options_)),
      accounts_(folder_.path() / "accounts", logFigures(options_)),
      databaseService_(database_, signer_, options_, rules_), identityService_(accounts_, signer_, options_),
      databaseDistance_(std::chrono::milliseconds(options_.latencyMs), handshakeRoundTrips(options_),
                        &activity_),
      authDistance_(std::chrono::milliseconds(options_.latencyMs), handshakeRoundTrips(options_),
                    &activity_) {
    if (options_.forProgram)
        provided_ = ProgramProvisioning::ofTheBuild().provide(database_, identityService_);
    const auto credentials = HttpServers::credentials(options_.tls, folder_.path());
    databaseServer_ = HttpServers::make(credentials);
    authServer_ = HttpServers::make(credentials);
    configure(*databaseServer_, databaseDistance_, options_.threads, databaseService_.limits());
    configure(*authServer_, authDistance_, std::max(16, options_.threads / 4), identityService_.limits());
    databaseService_.install(*databaseServer_);
    identityService_.install(*authServer_);
    authServer_->Get("/emulator/v1/connections",
                     [this](const httplib::Request &, httplib::Response &response) {
                         const Json counts = {{"database", databaseDistance_.connectionsAccepted()},
                                              {"identity", authDistance_.connectionsAccepted()}};
                         HttpReplies::json(response, 200, counts.dump());
                     });
}

CloudServer::~CloudServer() {
    stop();
    std::error_code ignored;
    for (const auto &socket : boundSockets_)
        std::filesystem::remove(socket, ignored);
}

void CloudServer::endListening(httplib::Server &server, const std::atomic<bool> &ended) {
    // The library's stop() does nothing to a server whose listening has not begun yet: a stop
    // right after the start (a SIGTERM after "ready") waits until it has.
    while (!ended) {
        if (server.is_running()) {
            server.stop();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CloudServer::bind() {
    if (options_.unixSockets) {
        boundSockets_.push_back(
            bindSocket(*databaseServer_, folder_.path() / Tunewell::kLocalCloudDatabaseSocket));
        boundSockets_.push_back(
            bindSocket(*authServer_, folder_.path() / Tunewell::kLocalCloudIdentitySocket));
        return;
    }
    databasePort_ = bindServer(*databaseServer_, options_.address, options_.databasePort);
    authPort_ = bindServer(*authServer_, options_.address, options_.authPort);
}

std::string CloudServer::addressOf(int port, const char *socketName) const {
    if (options_.unixSockets)
        return "unix:" + std::filesystem::absolute(folder_.path() / socketName).string();
    return std::string(scheme()) + "://" + options_.address + ":" + std::to_string(port);
}

std::string CloudServer::databaseAddress() const {
    return addressOf(databasePort_, Tunewell::kLocalCloudDatabaseSocket);
}

std::string CloudServer::identityAddress() const {
    return addressOf(authPort_, Tunewell::kLocalCloudIdentitySocket);
}

void CloudServer::run() {
    std::atomic<bool> databaseEnded{false};
    std::atomic<bool> authEnded{false};
    std::thread idleness;
    if (options_.idleExitSeconds > 0)
        idleness = std::thread([this] { watchIdleness(); });
    // A server that ends by itself ends the other too.
    std::thread auth([this, &authEnded] {
        authServer_->listen_after_bind();
        authEnded = true;
        stop();
    });
    std::thread database([this, &databaseEnded] {
        databaseServer_->listen_after_bind();
        databaseEnded = true;
        stop();
    });
    {
        std::unique_lock lock(stopMutex_);
        stopped_.wait(lock, [this] { return stopping_; });
    }
    endListening(*databaseServer_, databaseEnded);
    endListening(*authServer_, authEnded);
    database.join();
    auth.join();
    if (idleness.joinable())
        idleness.join();
}

void CloudServer::stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    database_.closeListeners();
}

void CloudServer::watchIdleness() {
    const auto idleExit = std::chrono::seconds(options_.idleExitSeconds);
    std::unique_lock lock(stopMutex_);
    while (!stopped_.wait_for(lock, std::chrono::seconds(1), [this] { return stopping_; })) {
        if (activity_.idleFor() < idleExit || !claimUsersFile())
            continue;
        lock.unlock();
        std::cerr << "tunewell-cloud: nothing asked for " << options_.idleExitSeconds
                  << " seconds and no program uses this cloud: stopping" << std::endl;
        stop();
        return;
    }
}

bool CloudServer::claimUsersFile() {
    const auto file = folder_.path() / Tunewell::kLocalCloudUsersFile;
    UniqueFd users(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!users.valid() || ::flock(users.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    usersFile_ = std::move(users);
    return true;
}

const char *CloudServer::scheme() const {
    return HttpServers::scheme(options_.tls);
}

} // namespace TunewellCloud
