#include "LocalCloud.h"

#include <Tunewell/BuildValues.h>
#include <algorithm>
#include <cstdlib>
#include <httplib.h>
#include <stdexcept>
#include <unistd.h>

namespace TunewellTesting {

namespace {

constexpr const char *kLoopback = "127.0.0.1";

int portOf(const std::string &line) {
    const auto colon = line.rfind(':');
    return std::stoi(line.substr(colon + 1));
}

std::filesystem::path makeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tunewell-cloud-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

httplib::Client clientFor(const std::string &url, const std::filesystem::path &caFile) {
    httplib::Client client(url);
    if (url.starts_with("https:"))
        client.set_ca_cert_path(caFile.c_str());
    client.set_connection_timeout(5);
    client.set_tcp_nodelay(true);
    client.set_read_timeout(30);
    return client;
}

// The project's administrator, whom the security rules do not bind.
httplib::Client administratorFor(const std::string &url, const std::filesystem::path &caFile) {
    auto client = clientFor(url, caFile);
    client.set_default_headers({{"Authorization", "Bearer owner"}});
    return client;
}

bool programDefaults(const LocalCloudOptions &options) {
    const auto &more = options.extraArguments;
    return std::find(more.begin(), more.end(), "--program-defaults") != more.end();
}

} // namespace

LocalCloud::LocalCloud(LocalCloudOptions options)
    : options_(std::move(options)), databasePort_(options_.databasePort), authPort_(options_.authPort) {
    workFolder_ = makeTemporaryFolder();
    dataFolder_ = workFolder_ / "data";
    if (options_.createServiceAccount) {
        const int status = ServerProcess::run({serverBinary(), "add-account", "--data", dataFolder_.string(),
                                               Tunewell::BuildValues::kServiceEmail,
                                               Tunewell::BuildValues::kServicePassword},
                                              logFile());
        if (status != 0)
            throw std::runtime_error("cannot create the service account; see " + logFile().string());
    }
    start();
}

LocalCloud::~LocalCloud() {
    process_.kill();
    std::error_code ignored;
    std::filesystem::remove_all(workFolder_, ignored);
}

std::string LocalCloud::serverBinary() {
    return TUNEWELL_CLOUD_BINARY;
}
std::string LocalCloud::demoClip() {
    return TUNEWELL_DEMO_CLIP;
}

void LocalCloud::start() {
    std::vector<std::string> command = {serverBinary(), "serve",
                                        "--data",       dataFolder_.string(),
                                        "--db-port",    std::to_string(databasePort_),
                                        "--auth-port",  std::to_string(authPort_)};
    if (options_.tokenLifetimeSeconds > 0)
        command.insert(command.end(), {"--token-lifetime", std::to_string(options_.tokenLifetimeSeconds)});
    if (options_.keepAliveSeconds > 0)
        command.insert(command.end(), {"--keep-alive", std::to_string(options_.keepAliveSeconds)});
    if (options_.tls)
        command.push_back("--tls");
    if (ownerAccess())
        command.push_back("--owner-access");
    command.insert(command.end(), options_.extraArguments.begin(), options_.extraArguments.end());
    for (const auto &line : process_.start(command, logFile(), "ready")) {
        if (line.rfind("database ", 0) == 0)
            databasePort_ = portOf(line);
        else if (line.rfind("identity ", 0) == 0)
            authPort_ = portOf(line);
    }
}

int LocalCloud::stop() {
    return process_.stop();
}
void LocalCloud::kill() {
    process_.kill();
}

void LocalCloud::restart() {
    stop();
    start();
}

std::string LocalCloud::databaseUrl() const {
    return (options_.tls ? "https://" : "http://") + databaseEmulatorHost();
}
std::string LocalCloud::authUrl() const {
    return (options_.tls ? "https://" : "http://") + authEmulatorHost();
}
std::string LocalCloud::identityUrl() const {
    return authUrl() + "/www.googleapis.com/identitytoolkit/v3/relyingparty";
}
std::string LocalCloud::tokenUrl() const {
    return authUrl() + "/securetoken.googleapis.com/v1/token";
}
std::string LocalCloud::databaseEmulatorHost() const {
    return std::string(kLoopback) + ":" + std::to_string(databasePort_);
}
std::string LocalCloud::authEmulatorHost() const {
    return std::string(kLoopback) + ":" + std::to_string(authPort_);
}

void LocalCloud::exportEmulatorHosts() const {
    ::setenv("FIREBASE_DATABASE_EMULATOR_HOST", databaseEmulatorHost().c_str(), 1);
    ::setenv("FIREBASE_AUTH_EMULATOR_HOST", authEmulatorHost().c_str(), 1);
}

std::string LocalCloud::signIn(const std::string &email, const std::string &password) const {
    auto client = clientFor(authUrl(), caFile());
    const nlohmann::json body = {{"email", email}, {"password", password}, {"returnSecureToken", true}};
    const auto answer =
        client.Post(std::string("/www.googleapis.com/identitytoolkit/v3/relyingparty/verifyPassword?key=") +
                        Tunewell::BuildValues::kApiKey,
                    body.dump(), "application/json");
    if (!answer || answer->status != 200)
        throw std::runtime_error("sign-in failed: " + (answer ? answer->body : std::string("no answer")));
    return nlohmann::json::parse(answer->body).at("idToken").get<std::string>();
}

std::string LocalCloud::serviceToken() const {
    return signIn(Tunewell::BuildValues::kServiceEmail, Tunewell::BuildValues::kServicePassword);
}

bool LocalCloud::ownerAccess() const {
    return options_.ownerAccess && !programDefaults(options_);
}

std::string LocalCloud::nodeTarget(const std::string &path) const {
    return "/" + path + ".json" + (ownerAccess() ? std::string() : "?auth=" + serviceToken());
}

httplib::Client LocalCloud::databaseClient() const {
    return ownerAccess() ? administratorFor(databaseUrl(), caFile()) : clientFor(databaseUrl(), caFile());
}

void LocalCloud::seed(const std::string &path, const nlohmann::json &value) const {
    auto client = databaseClient();
    const auto answer = client.Put(nodeTarget(path), value.dump(), "application/json");
    if (!answer || answer->status != 200)
        throw std::runtime_error("seeding " + path +
                                 " failed: " + (answer ? answer->body : std::string("no answer")));
}

nlohmann::json LocalCloud::read(const std::string &path) const {
    auto client = databaseClient();
    const auto answer = client.Get(nodeTarget(path));
    if (!answer || answer->status != 200)
        throw std::runtime_error("reading " + path +
                                 " failed: " + (answer ? answer->body : std::string("no answer")));
    return nlohmann::json::parse(answer->body);
}

std::vector<std::string> LocalCloud::oobCodes(const std::string &email) const {
    auto client = administratorFor(authUrl(), caFile());
    const auto answer =
        client.Get(std::string("/emulator/v1/projects/") + Tunewell::BuildValues::kProjectId + "/oobCodes");
    if (!answer || answer->status != 200)
        throw std::runtime_error("cannot read the codes");
    std::vector<std::string> codes;
    const auto listed = nlohmann::json::parse(answer->body);
    for (const auto &entry : listed.at("oobCodes"))
        if (entry.at("email") == email)
            codes.push_back(entry.at("oobCode").get<std::string>());
    return codes;
}

AcceptedConnections LocalCloud::connectionsAccepted() const {
    auto client = clientFor(authUrl(), caFile());
    const auto answer = client.Get("/emulator/v1/connections");
    if (!answer || answer->status != 200)
        throw std::runtime_error("cannot read the connection counts");
    const auto counts = nlohmann::json::parse(answer->body);
    return {counts.at("database").get<std::uint64_t>(), counts.at("identity").get<std::uint64_t>()};
}

} // namespace TunewellTesting
