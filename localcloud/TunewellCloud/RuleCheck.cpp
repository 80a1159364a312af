#include "TunewellCloud/RuleCheck.h"

#include "TunewellCloud/Clock.h"
#include "TunewellCloud/RequestError.h"
#include "TunewellCloud/SecurityRules.h"

namespace TunewellCloud {

namespace {
const char *const kPermissionDenied = "Permission denied";
} // namespace

RuleCheck::RuleCheck(const SecurityRules &rules, Json auth, std::int64_t now)
    : rules_(rules), auth_(std::move(auth)), now_(now) {}

RuleCheck::RuleCheck(const SecurityRules &rules, Json auth) : rules_(rules), auth_(std::move(auth)) {}

void RuleCheck::checkRead(const TreeNode &root, const NodePath &path) const {
    if (!rules_.mayRead(root, path, auth_, now_.value_or(nowMilliseconds())))
        throw RequestError(401, kPermissionDenied);
}

void RuleCheck::checkWrite(const TreeNode &root, std::vector<PendingWrite> writes) const {
    if (!rules_.mayWrite(root, std::move(writes), auth_, now_.value_or(nowMilliseconds())))
        throw RequestError(401, kPermissionDenied);
}

} // namespace TunewellCloud
