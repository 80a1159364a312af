#include "TunewellCloud/AccountStore.h"

namespace TunewellCloud {

AccountStore::AccountStore(const std::filesystem::path &folder, DurableLog::Figures figures)
    : log_(folder, figures) {
    log_.load(
        [this](const std::string &text) {
            const Json state = Json::parse(text);
            for (const auto &[localId, account] : state.items())
                apply(localId, account);
        },
        [this](const Json &record) { apply(record.at("localId").get<std::string>(), record.at("account")); });
}

void AccountStore::apply(const std::string &localId, const Json &account) {
    if (const auto old = accounts_.find(localId); old != accounts_.end()) {
        if (old->second.contains("email"))
            idByEmail_.erase(old->second.at("email").get<std::string>());
        accounts_.erase(old);
    }
    if (account.is_null())
        return;
    accounts_[localId] = account;
    if (account.contains("email"))
        idByEmail_[account.at("email").get<std::string>()] = localId;
}

std::optional<Json> AccountStore::byId(const std::string &localId) const {
    std::lock_guard lock(mutex_);
    const auto found = accounts_.find(localId);
    if (found == accounts_.end())
        return std::nullopt;
    return found->second;
}

std::optional<Json> AccountStore::byEmail(const std::string &email) const {
    std::lock_guard lock(mutex_);
    const auto id = idByEmail_.find(email);
    if (id == idByEmail_.end())
        return std::nullopt;
    return accounts_.at(id->second);
}

void AccountStore::persist(const std::string &localId, const Json &account,
                           std::unique_lock<std::mutex> &lock) {
    const auto ticket = log_.append(Json{{"localId", localId}, {"account", account}});
    apply(localId, account);
    if (log_.wantsCompaction()) {
        Json state = Json::object();
        for (const auto &[id, stored] : accounts_)
            state[id] = stored;
        log_.compact(state.dump());
    }
    lock.unlock();
    log_.waitDurable(ticket);
}

bool AccountStore::save(const Json &account) {
    const auto localId = account.at("localId").get<std::string>();
    std::unique_lock lock(mutex_);
    if (account.contains("email")) {
        const auto holder = idByEmail_.find(account.at("email").get<std::string>());
        if (holder != idByEmail_.end() && holder->second != localId)
            return false;
    }
    persist(localId, account, lock);
    return true;
}

void AccountStore::erase(const std::string &localId) {
    std::unique_lock lock(mutex_);
    if (!accounts_.contains(localId))
        return;
    persist(localId, nullptr, lock);
}

} // namespace TunewellCloud
