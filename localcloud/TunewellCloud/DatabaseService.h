#pragma once

#include "TunewellCloud/CloudOptions.h"
#include "TunewellCloud/Json.h"
#include "TunewellCloud/OwnerAccess.h"
#include "TunewellCloud/RequestLimits.h"
#include "TunewellCloud/WriteRules.h"

#include <atomic>
#include <httplib.h>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace TunewellCloud {

class AccessCheck;
class Database;
class SecurityRules;
class TokenSigner;

// The database's REST interface and event streams on one HTTP server, under the security rules.
// With the owner's access (OwnerAccess) a request may be the project's administrator's, which the
// rules do not bind (tests set up and inspect the tree with it).
class DatabaseService {
public:
    DatabaseService(Database &database, const TokenSigner &signer, const CloudOptions &options,
                    const SecurityRules &rules);
    void install(httplib::Server &server);
    const RequestLimits &limits() const { return limits_; }

private:
    struct Caller {
        bool administrator = false;
        // null when not signed in, else what rules know as auth.
        Json auth;
        // Seconds; none for a caller without a token.
        std::optional<std::int64_t> tokenExpiry;
    };

    void handle(const httplib::Request &request, const std::string &body, httplib::Response &response);
    // Throws RequestError for a token that is unreadable or expired.
    Caller identify(const httplib::Request &request, const std::map<std::string, std::string> &query) const;
    void stream(const NodePath &path, std::optional<std::int64_t> tokenExpiry,
                std::shared_ptr<const AccessCheck> check, httplib::Response &response);

    Database &database_;
    const TokenSigner &signer_;
    const CloudOptions &options_;
    const SecurityRules &rules_;
    const OwnerAccess owner_;
    const RequestLimits limits_;
    // Each open stream holds a worker thread; some are kept free for reads and writes.
    std::shared_ptr<std::atomic<int>> openStreams_ = std::make_shared<std::atomic<int>>(0);
};

} // namespace TunewellCloud
