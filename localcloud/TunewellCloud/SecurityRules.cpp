#include "TunewellCloud/SecurityRules.h"

#include "TunewellCloud/DurableFiles.h"
#include "TunewellCloud/RuleEvaluator.h"
#include "TunewellCloud/RuleTree.h"
#include "TunewellCloud/RulesText.h"
#include "TunewellCloud/TreeNode.h"

#include <algorithm>

namespace TunewellCloud {

namespace {

constexpr std::string_view kOpenRules = R"({"rules": {".read": "auth != null", ".write": "auth != null"}})";

// One rule evaluation's surroundings, kept while a check walks down a path.
struct Walk {
    const Json &auth;
    std::int64_t now;
    RuleSnapshot root;
    std::vector<std::string_view> wildcards;

    bool grants(const std::unique_ptr<RuleExpression> &rule, const RuleSnapshot &data,
                const RuleSnapshot &newData) const {
        return rule && ruleGrants(*rule, {&auth, now, wildcards, data, newData, root});
    }
};

std::size_t commonPrefix(const NodePath &left, const NodePath &right) {
    const auto [differs, unused] = std::mismatch(left.begin(), left.end(), right.begin(), right.end());
    return static_cast<std::size_t>(differs - left.begin());
}

// The .validate rules of a written value and of every node in it that has rules.
bool validWritten(Walk &walk, const RuleNode &rule, const TreeNode &value, const RuleSnapshot &before) {
    if (rule.validate && !walk.grants(rule.validate, before, RuleSnapshot::of(&value)))
        return false;
    for (const auto &[key, child] : value.children()) {
        const std::size_t bound = walk.wildcards.size();
        const RuleNode *childRule = rule.childFor(key, walk.wildcards);
        const bool valid = childRule == nullptr || validWritten(walk, *childRule, *child, before.child(key));
        walk.wildcards.resize(bound);
        if (!valid)
            return false;
    }
    return true;
}

} // namespace

SecurityRules::SecurityRules(std::unique_ptr<RuleNode> root) : root_(std::move(root)) {}
SecurityRules::SecurityRules(SecurityRules &&) noexcept = default;
SecurityRules &SecurityRules::operator=(SecurityRules &&) noexcept = default;
SecurityRules::~SecurityRules() = default;

SecurityRules SecurityRules::fromText(std::string_view text) {
    return SecurityRules(parseRuleTree(text));
}

SecurityRules SecurityRules::fromFile(const std::filesystem::path &file) {
    const auto text = DurableFiles::read(file);
    if (!text)
        throw RulesFileError(file.string() + ": cannot read the rules file");
    try {
        return fromText(*text);
    } catch (const RulesSyntaxError &error) {
        throw RulesFileError(file.string() + ":" + std::to_string(error.at().line) + ":" +
                             std::to_string(error.at().column) + ": " + error.what());
    }
}

SecurityRules SecurityRules::open() {
    return fromText(kOpenRules);
}

bool SecurityRules::mayRead(const TreeNode &root, const NodePath &path, const Json &auth,
                            std::int64_t now) const {
    Walk walk{auth, now, RuleSnapshot::of(&root), {}};
    const RuleNode *rule = root_.get();
    RuleSnapshot data = walk.root;
    for (std::size_t depth = 0;; ++depth) {
        if (walk.grants(rule->read, data, {}))
            return true;
        if (depth == path.size())
            return false;
        rule = rule->childFor(path[depth], walk.wildcards);
        if (rule == nullptr)
            return false;
        data = data.child(path[depth]);
    }
}

bool SecurityRules::mayWrite(const TreeNode &root, std::vector<PendingWrite> writes, const Json &auth,
                             std::int64_t now) const {
    std::sort(writes.begin(), writes.end(),
              [](const PendingWrite &left, const PendingWrite &right) { return left.path < right.path; });
    Walk walk{auth, now, RuleSnapshot::of(&root), {}};
    // Writes never overlap: a write of the root is the only one.
    const RuleSnapshot after = !writes.empty() && writes.front().path.empty()
                                   ? RuleSnapshot::of(writes.front().value)
                                   : RuleSnapshot::changedBelow(&root, writes, 0);

    // Each change needs a .write rule that grants it at its place or above it.
    for (const auto &write : writes) {
        walk.wildcards.clear();
        const RuleNode *rule = root_.get();
        RuleSnapshot before = walk.root;
        RuleSnapshot fresh = after;
        bool granted = false;
        for (std::size_t depth = 0; rule != nullptr; ++depth) {
            if (walk.grants(rule->write, before, fresh)) {
                granted = true;
                break;
            }
            if (depth == write.path.size())
                break;
            rule = rule->childFor(write.path[depth], walk.wildcards);
            before = before.child(write.path[depth]);
            fresh = fresh.child(write.path[depth]);
        }
        if (!granted)
            return false;
    }

    // Every node the writes change and leave with a value: the places above each change (once
    // for changes that share them), the changed node and what was written below it.
    for (std::size_t index = 0; index < writes.size(); ++index) {
        const auto &write = writes[index];
        const std::size_t shared = index == 0 ? 0 : commonPrefix(writes[index - 1].path, write.path);
        walk.wildcards.clear();
        const RuleNode *rule = root_.get();
        RuleSnapshot before = walk.root;
        RuleSnapshot fresh = after;
        for (std::size_t depth = 0; rule != nullptr && depth < write.path.size(); ++depth) {
            const bool validatedBefore = index > 0 && depth <= shared;
            if (!validatedBefore && rule->validate && fresh.exists() &&
                !walk.grants(rule->validate, before, fresh))
                return false;
            rule = rule->childFor(write.path[depth], walk.wildcards);
            before = before.child(write.path[depth]);
            fresh = fresh.child(write.path[depth]);
        }
        if (rule != nullptr && write.value != nullptr && !validWritten(walk, *rule, *write.value, before))
            return false;
    }
    return true;
}

} // namespace TunewellCloud
