#pragma once

#include "TunewellCloud/RuleExpression.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace TunewellCloud {

// The rules of one place of the tree and of the places below it, named or matched by a
// wildcard ("$id").
struct RuleNode {
    // The child rules for a key: a named child before the wildcard, as the service has it; the
    // key is then bound to the wildcard. nullptr when no rule lies below that key.
    const RuleNode *childFor(std::string_view key, std::vector<std::string_view> &wildcards) const;

    std::unique_ptr<RuleExpression> read;
    std::unique_ptr<RuleExpression> write;
    std::unique_ptr<RuleExpression> validate;
    std::map<std::string, std::unique_ptr<RuleNode>, std::less<>> children;
    std::string wildcardName;
    std::unique_ptr<RuleNode> wildcard;
};

// The rule tree of a rules file's text ({"rules": {...}}); throws RulesSyntaxError.
std::unique_ptr<RuleNode> parseRuleTree(std::string_view text);

} // namespace TunewellCloud
