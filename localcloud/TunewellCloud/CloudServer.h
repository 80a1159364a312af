#pragma once

#include "TunewellCloud/AccountStore.h"
#include "TunewellCloud/CloudOptions.h"
#include "TunewellCloud/ConnectionActivity.h"
#include "TunewellCloud/DataFolder.h"
#include "TunewellCloud/Database.h"
#include "TunewellCloud/DatabaseService.h"
#include "TunewellCloud/IdentityService.h"
#include "TunewellCloud/NetworkDistance.h"
#include "TunewellCloud/SecurityRules.h"
#include "TunewellCloud/TokenSigner.h"
#include "TunewellCloud/UniqueFd.h"

#include <atomic>
#include <condition_variable>
#include <httplib.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace TunewellCloud {

// The database and the identity and token services of one data folder, each on its own port.
// GET /emulator/v1/connections on the identity port answers how many connections each port
// accepted so far, that question's own included: {"database": N, "identity": M}.
// With an idle exit, run() returns by itself once no connection was open for that long and no
// program holds the folder's users file; the file stays claimed until the server goes, so a
// program that comes meanwhile waits and then starts another server.
class CloudServer {
public:
    explicit CloudServer(CloudOptions options);
    ~CloudServer();

    // The rules file enforced, or "open".
    const std::string &rulesSource() const { return rulesSource_; }
    // What the start added for the program (CloudOptions::forProgram), "" for nothing.
    const std::string &provided() const { return provided_; }
    // Binds both ports (0 picks a free one), or both Unix sockets of the folder, the stale files
    // of an earlier server removed first; throws std::runtime_error when one cannot be bound.
    void bind();
    int databasePort() const { return databasePort_; }
    int authPort() const { return authPort_; }
    // What a client connects to, as printed: "https://127.0.0.1:9000", or "unix:PATH".
    std::string databaseAddress() const;
    std::string identityAddress() const;
    // "https" when serving TLS, else "http".
    const char *scheme() const;
    // Serves until stop() is called from another thread, or the idle exit comes.
    void run();
    // Ends run(), whether it has begun listening or not.
    void stop();

private:
    static void endListening(httplib::Server &server, const std::atomic<bool> &ended);
    // Waits for the idle exit, then stops the servers; returns at once when they stop otherwise.
    void watchIdleness();
    // Claims the users file when no program holds it.
    bool claimUsersFile();
    std::string addressOf(int port, const char *socketName) const;

    CloudOptions options_;
    // Before the data folder: a rules file that does not parse stops the server untouched.
    std::string rulesSource_;
    SecurityRules rules_;
    // Held from the idle exit to the end, after the folder's own lock is let go.
    UniqueFd usersFile_;
    DataFolder folder_;
    TokenSigner signer_;
    Database database_;
    AccountStore accounts_;
    DatabaseService databaseService_;
    IdentityService identityService_;
    ConnectionActivity activity_;
    NetworkDistance databaseDistance_;
    NetworkDistance authDistance_;
    // HTTP or HTTPS, as the options say.
    std::unique_ptr<httplib::Server> databaseServer_;
    std::unique_ptr<httplib::Server> authServer_;
    int databasePort_ = -1;
    int authPort_ = -1;
    // Removed when the server goes, while the folder is still held.
    std::vector<std::filesystem::path> boundSockets_;
    std::string provided_;
    std::mutex stopMutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
};

} // namespace TunewellCloud
