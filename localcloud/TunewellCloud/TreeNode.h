#pragma once

#include "TunewellCloud/Json.h"
#include "TunewellCloud/KeyOrder.h"

#include <map>
#include <memory>
#include <span>
#include <string>

namespace TunewellCloud {

// One node of the database tree: a leaf value (string, number, boolean) or children.
// A node without a value and without children does not exist; empty parents are pruned.
class TreeNode {
public:
    using Children = std::map<std::string, std::unique_ptr<TreeNode>, KeyOrder>;

    // Arrays become children keyed "0", "1", ...; null members and empty objects vanish.
    // Answers nullptr when nothing remains. The value must already be validated.
    static std::unique_ptr<TreeNode> fromJson(const Json &value);

    // Writes the JSON text of a node (or "null" for nullptr), children in key order;
    // children keyed like a mostly filled array are written as an array.
    static void writeJson(const TreeNode *node, std::string &out);
    static std::string toText(const TreeNode *node);
    static Json toJson(const TreeNode *node);

    const TreeNode *find(std::span<const std::string> path) const;
    // Replaces the node at path (nullptr deletes it), pruning parents left empty.
    void assign(std::span<const std::string> path, std::unique_ptr<TreeNode> value);

    bool empty() const { return leaf_.is_null() && children_.empty(); }
    const Json &leaf() const { return leaf_; }
    const Children &children() const { return children_; }

private:
    bool writtenAsArray() const;

    Json leaf_;
    Children children_;
};

} // namespace TunewellCloud
