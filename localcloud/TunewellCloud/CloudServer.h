#pragma once

#include "TunewellCloud/AccountStore.h"
#include "TunewellCloud/CloudOptions.h"
#include "TunewellCloud/DataFolder.h"
#include "TunewellCloud/Database.h"
#include "TunewellCloud/DatabaseService.h"
#include "TunewellCloud/IdentityService.h"
#include "TunewellCloud/NetworkDistance.h"
#include "TunewellCloud/SecurityRules.h"
#include "TunewellCloud/TokenSigner.h"

#include <httplib.h>
#include <memory>

namespace TunewellCloud {

// The database and the identity and token services of one data folder, each on its own port.
// GET /emulator/v1/connections on the identity port answers how many connections each port
// accepted so far, that question's own included: {"database": N, "identity": M}.
class CloudServer {
public:
    explicit CloudServer(CloudOptions options);
    ~CloudServer();

    // The rules file enforced, or "open".
    const std::string &rulesSource() const { return rulesSource_; }
    // Binds both ports (0 picks a free one); throws std::runtime_error when one is taken.
    void bind();
    int databasePort() const { return databasePort_; }
    int authPort() const { return authPort_; }
    // "https" when serving TLS, else "http".
    const char *scheme() const;
    // Serves until stop() is called from another thread.
    void run();
    void stop();

private:
    CloudOptions options_;
    // Before the data folder: a rules file that does not parse stops the server untouched.
    std::string rulesSource_;
    SecurityRules rules_;
    DataFolder folder_;
    TokenSigner signer_;
    Database database_;
    AccountStore accounts_;
    DatabaseService databaseService_;
    IdentityService identityService_;
    NetworkDistance databaseDistance_;
    NetworkDistance authDistance_;
    // HTTP or HTTPS, as the options say.
    std::unique_ptr<httplib::Server> databaseServer_;
    std::unique_ptr<httplib::Server> authServer_;
    int databasePort_ = -1;
    int authPort_ = -1;
};

} // namespace TunewellCloud
