#pragma once

#include "TunewellCloud/DurableLog.h"
#include "TunewellCloud/Json.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace TunewellCloud {

// The accounts of the identity service, each a JSON object keyed by "localId", durable like
// the database. E-mail addresses are unique and compared in lower case.
class AccountStore {
public:
    AccountStore(const std::filesystem::path &folder, DurableLog::Figures figures);

    std::optional<Json> byId(const std::string &localId) const;
    std::optional<Json> byEmail(const std::string &email) const;
    // Writes the account (new or changed); false when another account holds its e-mail address.
    bool save(const Json &account);
    void erase(const std::string &localId);

private:
    void apply(const std::string &localId, const Json &account);
    void persist(const std::string &localId, const Json &account, std::unique_lock<std::mutex> &lock);

    DurableLog log_;
    mutable std::mutex mutex_;
    std::map<std::string, Json> accounts_;
    std::map<std::string, std::string> idByEmail_;
};

} // namespace TunewellCloud
