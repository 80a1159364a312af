#pragma once

#include "TunewellCloud/AccessCheck.h"
#include "TunewellCloud/Json.h"

#include <cstdint>
#include <optional>

namespace TunewellCloud {

class SecurityRules;

// The security rules applied to one caller's request; a refusal answers 401 "Permission denied"
// and leaves the tree as it was.
class RuleCheck : public AccessCheck {
public:
    // auth: null for a caller not signed in, else {"uid", "provider", "token": the claims}.
    RuleCheck(const SecurityRules &rules, Json auth, std::int64_t now);
    // For a check kept while a stream is open: now is the clock's at each check.
    RuleCheck(const SecurityRules &rules, Json auth);

    void checkRead(const TreeNode &root, const NodePath &path) const override;
    void checkWrite(const TreeNode &root, std::vector<PendingWrite> writes) const override;

private:
    const SecurityRules &rules_;
    Json auth_;
    std::optional<std::int64_t> now_;
};

} // namespace TunewellCloud
