#include "TunewellCloud/Database.h"

#include "TunewellCloud/Clock.h"
#include "TunewellCloud/RequestError.h"

#include <algorithm>
#include <map>

namespace TunewellCloud {

namespace {

bool startsWith(const NodePath &path, const NodePath &prefix) {
    return prefix.size() <= path.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

NodePath concat(const NodePath &base, const NodePath &rest) {
    NodePath full = base;
    full.insert(full.end(), rest.begin(), rest.end());
    return full;
}

std::string relativePath(const NodePath &path, const NodePath &ancestor) {
    return WriteRules::joinPath(
        NodePath(path.begin() + static_cast<std::ptrdiff_t>(ancestor.size()), path.end()));
}

// The changes of a write at base as a check sees them; nodes holds the values they point to.
std::vector<PendingWrite> pendingWrites(const NodePath &base,
                                        const std::vector<std::pair<NodePath, Json>> &changes,
                                        std::vector<std::unique_ptr<TreeNode>> &nodes) {
    std::vector<PendingWrite> writes;
    for (const auto &[relative, value] : changes) {
        nodes.push_back(TreeNode::fromJson(value));
        writes.push_back({concat(base, relative), nodes.back().get()});
    }
    return writes;
}

std::string eventText(const char *name, const std::string &path, const std::string &data) {
    return std::string("event: ") + name + "\ndata: {\"path\":" + Json(path).dump() + ",\"data\":" + data +
           "}\n\n";
}

} // namespace

Database::Database(const std::filesystem::path &folder, Figures figures)
    : log_(folder, figures.log), figures_(figures) {
    log_.load(
        [this](const std::string &text) {
            auto restored = TreeNode::fromJson(Json::parse(text));
            root_.assign({}, std::move(restored));
        },
        [this](const Json &record) {
            const auto base = record.at("at").get<NodePath>();
            std::vector<Change> changes;
            for (const auto &entry : record.at("sets"))
                changes.emplace_back(entry.at(0).get<NodePath>(), entry.at(1));
            apply(base, changes);
        });
}

Database::~Database() {
    closeListeners();
}

std::string Database::read(const NodePath &path, const AccessCheck *check) const {
    std::shared_lock lock(mutex_);
    if (check)
        check->checkRead(root_, path);
    return valueText(path);
}

std::string Database::valueText(const NodePath &path) const {
    return TreeNode::toText(root_.find(path));
}

void Database::apply(const NodePath &base, const std::vector<Change> &changes) {
    for (const auto &[relative, value] : changes)
        root_.assign(concat(base, relative), TreeNode::fromJson(value));
}

std::uint64_t Database::commit(const NodePath &base, std::vector<Change> changes, bool merge) {
    Json sets = Json::array();
    for (const auto &[relative, value] : changes)
        sets.push_back(Json::array({relative, value}));
    const std::uint64_t ticket = log_.append(Json{{"at", base}, {"sets", std::move(sets)}});
    apply(base, changes);
    notify(base, changes, merge);
    if (log_.wantsCompaction())
        log_.compact(TreeNode::toText(&root_));
    return ticket;
}

void Database::notify(const NodePath &base, const std::vector<Change> &changes, bool merge) {
    // Streams of the same node share the texts of their events.
    std::map<NodePath, std::vector<EventListener::Event>> made;
    for (const auto &[listener, check] : listeners_) {
        // Any change may be one a read rule looks at (the node, a profile elsewhere), so every
        // kept check is asked again.
        if (check) {
            try {
                check->checkRead(root_, listener->path());
            } catch (const RequestError &refusal) {
                listener->cancel("event: cancel\ndata: " + Json(refusal.what()).dump() + "\n\n");
                continue;
            }
        }
        const auto [entry, fresh] = made.try_emplace(listener->path());
        if (fresh)
            entry->second = eventsAt(listener->path(), base, changes, merge);
        for (const auto &event : entry->second)
            listener->deliver(event);
    }
}

std::vector<EventListener::Event> Database::eventsAt(const NodePath &at, const NodePath &base,
                                                     const std::vector<Change> &changes, bool merge) const {
    std::vector<EventListener::Event> events;
    auto add = [&events](std::string text) {
        events.push_back(std::make_shared<const std::string>(std::move(text)));
    };
    if (merge && startsWith(base, at)) {
        std::string data = "{";
        for (const auto &[relative, value] : changes) {
            data += Json(WriteRules::joinPath(relative).substr(1)).dump() + ":" +
                    valueText(concat(base, relative)) + ",";
        }
        data.back() = '}';
        add(eventText("patch", relativePath(base, at), data));
        return events;
    }
    for (const auto &[relative, value] : changes) {
        const NodePath changed = concat(base, relative);
        if (startsWith(changed, at))
            add(eventText("put", relativePath(changed, at), valueText(changed)));
        else if (startsWith(at, changed))
            add(eventText("put", "/", valueText(at)));
    }
    return events;
}

std::string Database::put(const NodePath &path, Json value, const AccessCheck *check) {
    WriteRules::checkValue(value, path.size());
    std::uint64_t ticket = 0;
    std::string answer;
    {
        std::unique_lock lock(mutex_);
        WriteRules::resolveServerValues(value, root_.find(path), nowMilliseconds());
        const auto normalized = TreeNode::fromJson(value);
        if (check)
            check->checkWrite(root_, {{path, normalized.get()}});
        answer = TreeNode::toText(normalized.get());
        std::vector<Change> changes;
        changes.emplace_back(NodePath{}, std::move(value));
        ticket = commit(path, std::move(changes), false);
    }
    log_.waitDurable(ticket);
    return answer;
}

std::string Database::patch(const NodePath &path, Json children, const AccessCheck *check) {
    if (!children.is_object())
        throw RequestError(400, WriteRules::kNotAnObject);
    std::vector<Change> changes;
    for (auto &[key, value] : children.items()) {
        NodePath relative = WriteRules::splitChildPath(key);
        WriteRules::checkValue(value, path.size() + relative.size());
        changes.emplace_back(std::move(relative), value);
    }
    // Overlapping keys ("a" and "a/b") would make the result depend on their order.
    for (std::size_t i = 0; i < changes.size(); ++i)
        for (std::size_t k = 0; k < changes.size(); ++k)
            if (i != k && startsWith(changes[k].first, changes[i].first))
                throw RequestError(400, "Invalid data; the keys of an update must not overlap.");
    std::uint64_t ticket = 0;
    Json answer = Json::object();
    {
        std::unique_lock lock(mutex_);
        for (auto &[relative, value] : changes) {
            WriteRules::resolveServerValues(value, root_.find(concat(path, relative)), nowMilliseconds());
            answer[WriteRules::joinPath(relative).substr(1)] = value;
        }
        if (changes.empty())
            return answer.dump();
        if (check) {
            std::vector<std::unique_ptr<TreeNode>> nodes;
            check->checkWrite(root_, pendingWrites(path, changes, nodes));
        }
        ticket = commit(path, std::move(changes), true);
    }
    log_.waitDurable(ticket);
    return answer.dump();
}

std::string Database::post(const NodePath &path, Json value, const AccessCheck *check) {
    WriteRules::checkValue(value, path.size() + 1);
    std::uint64_t ticket = 0;
    std::string key;
    {
        std::unique_lock lock(mutex_);
        key = pushIds_.next(nowMilliseconds());
        WriteRules::resolveServerValues(value, nullptr, nowMilliseconds());
        std::vector<Change> changes;
        changes.emplace_back(NodePath{key}, std::move(value));
        if (check) {
            std::vector<std::unique_ptr<TreeNode>> nodes;
            check->checkWrite(root_, pendingWrites(path, changes, nodes));
        }
        ticket = commit(path, std::move(changes), false);
    }
    log_.waitDurable(ticket);
    return Json{{"name", key}}.dump();
}

std::string Database::remove(const NodePath &path, const AccessCheck *check) {
    std::uint64_t ticket = 0;
    {
        std::unique_lock lock(mutex_);
        if (check)
            check->checkWrite(root_, {{path, nullptr}});
        std::vector<Change> changes;
        changes.emplace_back(NodePath{}, nullptr);
        ticket = commit(path, std::move(changes), false);
    }
    log_.waitDurable(ticket);
    return "null";
}

std::shared_ptr<EventListener> Database::listen(const NodePath &path,
                                                std::shared_ptr<const AccessCheck> check) {
    auto listener =
        std::make_shared<EventListener>(path, figures_.listenerQueueLimit, figures_.listenerQueueBytes);
    std::unique_lock lock(mutex_);
    if (check)
        check->checkRead(root_, path);
    listener->deliver(std::make_shared<const std::string>(eventText("put", "/", valueText(path))));
    listeners_.push_back({listener, std::move(check)});
    return listener;
}

void Database::forget(const std::shared_ptr<EventListener> &listener) {
    listener->close();
    std::unique_lock lock(mutex_);
    std::erase_if(listeners_,
                  [&listener](const Listening &listening) { return listening.listener == listener; });
}

void Database::closeListeners() {
    std::unique_lock lock(mutex_);
    for (const auto &listening : listeners_)
        listening.listener->close();
    listeners_.clear();
}

} // namespace TunewellCloud
