#pragma once

#include "TunewellCloud/AccessCheck.h"
#include "TunewellCloud/Json.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace TunewellCloud {

// A rules file that cannot be read or does not parse: "FILE:LINE:COLUMN: what is wrong".
struct RuleNode;

class RulesFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Security rules in the realtime database's rules language, with its semantics: a read or
// write is allowed when a .read or .write rule on the way from the root to the node grants it
// (so a grant cannot be taken back below it), and every node a write leaves with a value must
// pass its own .validate rule, which does not cascade.
class SecurityRules {
public:
    // Throws RulesSyntaxError.
    static SecurityRules fromText(std::string_view text);
    // Throws RulesFileError.
    static SecurityRules fromFile(const std::filesystem::path &file);
    // Every signed-in caller reads and writes everything: the local cloud as it was before rules.
    static SecurityRules open();

    SecurityRules(SecurityRules &&) noexcept;
    SecurityRules &operator=(SecurityRules &&) noexcept;
    ~SecurityRules();

    // auth: null for a caller not signed in, else {"uid", "provider", "token": the claims}.
    bool mayRead(const TreeNode &root, const NodePath &path, const Json &auth, std::int64_t now) const;
    bool mayWrite(const TreeNode &root, std::vector<PendingWrite> writes, const Json &auth,
                  std::int64_t now) const;

private:
    explicit SecurityRules(std::unique_ptr<RuleNode> root);

    std::unique_ptr<RuleNode> root_;
};

} // namespace TunewellCloud
