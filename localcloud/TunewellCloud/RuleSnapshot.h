#pragma once

#include "TunewellCloud/AccessCheck.h"
#include "TunewellCloud/Json.h"

#include <span>
#include <string_view>

namespace TunewellCloud {

class TreeNode;

// One place of the tree as rules see it: as it is (data, root), or as a write would leave it
// (newData), read from the stored tree and the write's changes without building the new tree.
// Holds pointers into both; it lives no longer than the check that made it.
class RuleSnapshot {
public:
    RuleSnapshot() = default;
    // The node as it is, or as a write sets it (node is then the written value).
    static RuleSnapshot of(const TreeNode *node);
    // The node at depth of a path whose changes lie below it: writes are sorted by path and all
    // lie strictly below the node.
    static RuleSnapshot changedBelow(const TreeNode *node, std::span<const PendingWrite> writes,
                                     std::size_t depth);

    RuleSnapshot child(std::string_view key) const;
    // A child path such as "a/b"; empty segments are skipped.
    RuleSnapshot descendant(std::string_view path) const;
    bool exists() const;
    // The value of a node without children; nullptr for a parent or a missing node.
    const Json *leaf() const;
    bool hasChildren() const;

private:
    bool onlyRemovalsBelow() const;

    const TreeNode *node_ = nullptr;
    std::span<const PendingWrite> writesBelow_;
    std::size_t depth_ = 0;
};

} // namespace TunewellCloud
