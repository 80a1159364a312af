#include "TunewellCloud/RuleSnapshot.h"

#include "TunewellCloud/TreeNode.h"

#include <algorithm>

namespace TunewellCloud {

namespace {

const TreeNode *childOf(const TreeNode *node, std::string_view key) {
    if (node == nullptr)
        return nullptr;
    const auto found = node->children().find(key);
    return found == node->children().end() ? nullptr : found->second.get();
}

} // namespace

RuleSnapshot RuleSnapshot::of(const TreeNode *node) {
    RuleSnapshot snapshot;
    snapshot.node_ = node;
    return snapshot;
}

RuleSnapshot RuleSnapshot::changedBelow(const TreeNode *node, std::span<const PendingWrite> writes,
                                        std::size_t depth) {
    RuleSnapshot snapshot;
    snapshot.node_ = node;
    snapshot.writesBelow_ = writes;
    snapshot.depth_ = depth;
    return snapshot;
}

RuleSnapshot RuleSnapshot::child(std::string_view key) const {
    if (writesBelow_.empty())
        return of(childOf(node_, key));
    // Sorted by path, the writes below one child stand together.
    const auto first = std::find_if(writesBelow_.begin(), writesBelow_.end(),
                                    [&](const PendingWrite &write) { return write.path[depth_] == key; });
    const auto last = std::find_if(first, writesBelow_.end(),
                                   [&](const PendingWrite &write) { return write.path[depth_] != key; });
    if (first == last)
        return of(childOf(node_, key));
    // Writes never overlap, so a write of the child itself is the only one there.
    if (first->path.size() == depth_ + 1)
        return of(first->value);
    return changedBelow(childOf(node_, key), std::span<const PendingWrite>(first, last), depth_ + 1);
}

RuleSnapshot RuleSnapshot::descendant(std::string_view path) const {
    RuleSnapshot snapshot = *this;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            snapshot = snapshot.child(path.substr(start, end - start));
        start = end + 1;
    }
    return snapshot;
}

bool RuleSnapshot::onlyRemovalsBelow() const {
    return std::all_of(writesBelow_.begin(), writesBelow_.end(),
                       [](const PendingWrite &write) { return write.value == nullptr; });
}

bool RuleSnapshot::exists() const {
    if (writesBelow_.empty())
        return node_ != nullptr;
    // A value written below makes the node a parent.
    if (!onlyRemovalsBelow())
        return true;
    if (node_ == nullptr)
        return false;
    if (node_->children().empty())
        return true;
    for (const auto &[key, child] : node_->children())
        if (this->child(key).exists())
            return true;
    return false;
}

const Json *RuleSnapshot::leaf() const {
    if (!writesBelow_.empty() && !onlyRemovalsBelow())
        return nullptr;
    // Removals below a leaf leave it as it is.
    if (node_ == nullptr || !node_->children().empty())
        return nullptr;
    return &node_->leaf();
}

bool RuleSnapshot::hasChildren() const {
    return exists() && leaf() == nullptr;
}

} // namespace TunewellCloud
