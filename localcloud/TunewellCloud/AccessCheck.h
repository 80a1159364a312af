#pragma once

#include "TunewellCloud/WriteRules.h"

#include <vector>

namespace TunewellCloud {

class TreeNode;

// A change a write would make: the node at an absolute path replaced by value (nullptr removes it).
struct PendingWrite {
    NodePath path;
    const TreeNode *value;
};

// Lets a request's rules see the tree before it is read or changed, under the database's lock,
// so that what they judged is what the request meets. A check throws RequestError to refuse.
class AccessCheck {
public:
    virtual ~AccessCheck() = default;
    virtual void checkRead(const TreeNode &root, const NodePath &path) const = 0;
    // All changes of one write; they never overlap.
    virtual void checkWrite(const TreeNode &root, std::vector<PendingWrite> writes) const = 0;
};

} // namespace TunewellCloud
