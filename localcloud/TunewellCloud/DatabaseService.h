#pragma once

#include "TunewellCloud/CloudOptions.h"
#include "TunewellCloud/WriteRules.h"

#include <atomic>
#include <httplib.h>
#include <map>
#include <memory>
#include <string>

namespace TunewellCloud {

class Database;
class TokenSigner;

// The database's REST interface and event streams on one HTTP server.
class DatabaseService {
public:
    DatabaseService(Database &database, const TokenSigner &signer, const CloudOptions &options);
    void install(httplib::Server &server);

private:
    void handle(const httplib::Request &request, const std::string &body, httplib::Response &response);
    // Answers the ID token's expiry (seconds) or throws RequestError.
    std::int64_t authorize(const std::map<std::string, std::string> &query) const;
    void stream(const NodePath &path, std::int64_t tokenExpiry, httplib::Response &response);

    Database &database_;
    const TokenSigner &signer_;
    const CloudOptions &options_;
    // Each open stream holds a worker thread; some are kept free for reads and writes.
    std::shared_ptr<std::atomic<int>> openStreams_ = std::make_shared<std::atomic<int>>(0);
};

} // namespace TunewellCloud
