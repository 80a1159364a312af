#pragma once

#include "TunewellCloud/Json.h"
#include "TunewellCloud/RuleExpression.h"
#include "TunewellCloud/RuleSnapshot.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace TunewellCloud {

// What one rule at one place of the tree is evaluated with.
struct RuleContext {
    // null when the caller is not signed in, else {"uid", "provider", "token": the claims}.
    const Json *auth = nullptr;
    std::int64_t now = 0;
    // The keys the wildcards of the rule's place and above it stand for, outermost first.
    std::span<const std::string_view> wildcards;
    RuleSnapshot data;
    RuleSnapshot newData;
    RuleSnapshot root;
};

// True when the rule grants. As with the service, a rule whose evaluation fails (a member of
// null, a comparison of a text with a number) grants nothing.
bool ruleGrants(const RuleExpression &rule, const RuleContext &context);

} // namespace TunewellCloud
