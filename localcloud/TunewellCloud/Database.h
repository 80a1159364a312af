#pragma once

#include "TunewellCloud/AccessCheck.h"
#include "TunewellCloud/DurableLog.h"
#include "TunewellCloud/EventListener.h"
#include "TunewellCloud/PushIdGenerator.h"
#include "TunewellCloud/TreeNode.h"
#include "TunewellCloud/WriteRules.h"

#include <filesystem>
#include <memory>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

namespace TunewellCloud {

// The realtime database: the tree in memory, every change journaled and synced before the
// call returns, and the open event streams told of each change in commit order.
class Database {
public:
    struct Figures {
        DurableLog::Figures log;
        std::size_t listenerQueueLimit = 50000;
        std::size_t listenerQueueBytes = 1u << 20;
    };

    Database(const std::filesystem::path &folder, Figures figures);
    ~Database();

    // A check, when given, sees the tree first and may refuse by throwing; nothing is changed then.
    std::string read(const NodePath &path, const AccessCheck *check = nullptr) const;
    // Each write answers the JSON text the service sends back.
    std::string put(const NodePath &path, Json value, const AccessCheck *check = nullptr);
    std::string patch(const NodePath &path, Json children, const AccessCheck *check = nullptr);
    std::string post(const NodePath &path, Json value, const AccessCheck *check = nullptr);
    std::string remove(const NodePath &path, const AccessCheck *check = nullptr);

    // The stream starts with the node's current value; later changes follow in order. The check,
    // when given, is kept and asked again at each change: a stream its caller may no longer read
    // gets a last event "cancel" instead of the change, and ends.
    std::shared_ptr<EventListener> listen(const NodePath &path,
                                          std::shared_ptr<const AccessCheck> check = nullptr);
    void forget(const std::shared_ptr<EventListener> &listener);
    // Ends every stream (the server is stopping).
    void closeListeners();

private:
    using Change = std::pair<NodePath, Json>;
    struct Listening {
        std::shared_ptr<EventListener> listener;
        std::shared_ptr<const AccessCheck> check;
    };

    void apply(const NodePath &base, const std::vector<Change> &changes);
    std::uint64_t commit(const NodePath &base, std::vector<Change> changes, bool merge);
    void notify(const NodePath &base, const std::vector<Change> &changes, bool merge);
    // The events a stream of the node at At is sent for these changes.
    std::vector<EventListener::Event> eventsAt(const NodePath &at, const NodePath &base,
                                               const std::vector<Change> &changes, bool merge) const;
    std::string valueText(const NodePath &path) const;

    DurableLog log_;
    Figures figures_;
    mutable std::shared_mutex mutex_;
    TreeNode root_;
    PushIdGenerator pushIds_;
    std::vector<Listening> listeners_;
};

} // namespace TunewellCloud
