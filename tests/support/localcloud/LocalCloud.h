#pragma once

#include "ServerProcess.h"

#include <cstdint>
#include <filesystem>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace TunewellTesting {

// The connections each port of the cloud accepted.
struct AcceptedConnections {
    std::uint64_t database = 0;
    std::uint64_t identity = 0;
};

struct LocalCloudOptions {
    int tokenLifetimeSeconds = 0; // 0: the server's default (3600)
    int keepAliveSeconds = 0;     // 0: the server's default (30)
    bool createServiceAccount = true;
    // More `serve` options, e.g. {"--no-anonymous"}; the cloud enforces the program's own
    // security rules unless they say {"--rules", "open"}.
    std::vector<std::string> extraArguments;
    // HTTPS with the data folder's own authority (caFile()), as `serve --tls`.
    bool tls = false;
    // 0: a free port; the program's build values name 9000 and 9099.
    int databasePort = 0;
    int authPort = 0;
    // --owner-access, which the program's own cloud never has.
    bool ownerAccess = true;
};

// A tunewell-cloud started on free loopback ports with a temporary data folder, holding the
// service account of the build values, with the owner's access (--owner-access) unless it is the
// program's own cloud (--program-defaults), which never has it. Restarts keep the folder and the
// ports. The folder is removed when the object goes.
class LocalCloud {
public:
    explicit LocalCloud(LocalCloudOptions options = {});
    LocalCloud(const LocalCloud &) = delete;
    LocalCloud &operator=(const LocalCloud &) = delete;
    ~LocalCloud();

    static std::string serverBinary();
    static std::string demoClip();

    void start();
    int stop();  // SIGTERM, as at a normal end; answers the exit status, -1 when it had to be killed
    void kill(); // SIGKILL, as at a crash
    void restart();
    bool running() const { return process_.running(); }
    pid_t pid() const { return process_.pid(); }

    int databasePort() const { return databasePort_; }
    int authPort() const { return authPort_; }
    std::string databaseUrl() const; // http://127.0.0.1:PORT, or https:// with tls
    std::string authUrl() const;     // the same for the identity port
    std::string identityUrl() const; // authUrl() + /www.googleapis.com/identitytoolkit/v3/relyingparty
    std::string tokenUrl() const;    // authUrl() + /securetoken.googleapis.com/v1/token
    // Values for FIREBASE_DATABASE_EMULATOR_HOST and FIREBASE_AUTH_EMULATOR_HOST.
    std::string databaseEmulatorHost() const;
    std::string authEmulatorHost() const;
    // Sets both variables in this process's environment.
    void exportEmulatorHosts() const;

    const std::filesystem::path &dataFolder() const { return dataFolder_; }
    // The authority that signed the cloud's certificate (with tls), for TUNEWELL_CA_FILE.
    std::filesystem::path caFile() const { return dataFolder_ / "ca.pem"; }
    std::filesystem::path logFile() const { return workFolder_ / "server.log"; }

    // Signs in with e-mail and password and answers the ID token; throws on refusal.
    std::string signIn(const std::string &email, const std::string &password) const;
    std::string serviceToken() const;
    // Writes or reads a node (path without ".json", "" for the root) as the project's
    // administrator, whom the security rules do not bind: tests set up and inspect any node. In the
    // program's own cloud, as the service account, under the rules.
    void seed(const std::string &path, const nlohmann::json &value) const;
    nlohmann::json read(const std::string &path) const;
    // The codes the identity service would have mailed to the address.
    std::vector<std::string> oobCodes(const std::string &email) const;
    // As the cloud counts them since its start; the question opens one identity connection,
    // which is counted.
    AcceptedConnections connectionsAccepted() const;
    bool ownerAccess() const;

private:
    std::string nodeTarget(const std::string &path) const;
    httplib::Client databaseClient() const;

    LocalCloudOptions options_;
    std::filesystem::path workFolder_;
    std::filesystem::path dataFolder_;
    ServerProcess process_;
    int databasePort_ = 0;
    int authPort_ = 0;
};

} // namespace TunewellTesting
