#include "TunewellCloud/SecurityRules.h"

#include "TunewellCloud/TreeNode.h"

#include <gtest/gtest.h>

using TunewellCloud::Json;
using TunewellCloud::NodePath;
using TunewellCloud::PendingWrite;
using TunewellCloud::SecurityRules;
using TunewellCloud::TreeNode;

namespace {

const Json kSignedIn = {{"uid", "service"}, {"provider", "password"}, {"token", {{"email", "s@x.org"}}}};

NodePath pathOf(const std::string &text) {
    NodePath path;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            path.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return path;
}

// One request against a tree: a read of a path, or a write of changes (JSON null removes).
struct Request {
    std::string read;
    std::vector<std::pair<std::string, Json>> writes;
    bool signedIn = true;
};

Request read(std::string path, bool signedIn = true) {
    return {std::move(path), {}, signedIn};
}

Request write(std::vector<std::pair<std::string, Json>> changes, bool signedIn = true) {
    return {{}, std::move(changes), signedIn};
}

bool allowed(const SecurityRules &rules, const Json &tree, const Request &request) {
    const auto root = TreeNode::fromJson(tree);
    const TreeNode empty;
    const TreeNode &stored = root ? *root : empty;
    const Json &auth = request.signedIn ? kSignedIn : Json(nullptr);
    if (request.writes.empty())
        return rules.mayRead(stored, pathOf(request.read), auth, 1'700'000'000'000);
    std::vector<std::unique_ptr<TreeNode>> values;
    std::vector<PendingWrite> writes;
    for (const auto &[path, value] : request.writes) {
        values.push_back(TreeNode::fromJson(value));
        writes.push_back({pathOf(path), values.back().get()});
    }
    return rules.mayWrite(stored, std::move(writes), auth, 1'700'000'000'000);
}

struct Case {
    const char *why;
    const char *rules; // the member "rules"
    Json tree;
    Request request;
    bool allowed;
};

void expectCases(const std::vector<Case> &cases) {
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        const auto rules = SecurityRules::fromText(std::string("{\"rules\": ") + c.rules + "}");
        EXPECT_EQ(allowed(rules, c.tree, c.request), c.allowed);
    }
}

TEST(SecurityRulesTest, ReadsAndWritesCascadeFromAbove) {
    const char *grantedAbove =
        R"js({"a": {".read": true, ".write": true, "b": {".read": false, ".write": false}}})js";
    const char *grantedBelow = R"js({"a": {"b": {".read": true, ".write": true}}})js";
    expectCases({
        {"nothing granted", "{}", nullptr, read("/"), false},
        {"a grant above is not taken away below", grantedAbove, nullptr, read("a/b/c"), true},
        {"a write granted above is not taken away below", grantedAbove, nullptr, write({{"a/b/c", 1}}), true},
        {"a grant below does not open the node above", grantedBelow, nullptr, read("a"), false},
        {"a write above a grant is refused", grantedBelow, nullptr, write({{"a", {{"b", 1}}}}), false},
        {"below a grant", grantedBelow, nullptr, read("a/b/x"), true},
        {"beside a grant", grantedBelow, nullptr, read("a/c"), false},
        {"the root's rule", R"js({".read": "auth != null"})js", nullptr, read("x/y"), true},
        {"not signed in", R"js({".read": "auth != null"})js", nullptr, read("x/y", false), false},
        {"every change of a write needs a grant", grantedBelow, nullptr, write({{"a/b/x", 1}, {"a/c", 1}}),
         false},
        {"each change granted", grantedBelow, nullptr, write({{"a/b/x", 1}, {"a/b/y", 1}}), true},
    });
}

TEST(SecurityRulesTest, WildcardsMatchWhatNoNamedChildTakes) {
    const char *rules = R"js({"p": {
        "$id": {".read": "$id == 'mine'", "$leaf": {".read": "$id == 'other' && $leaf == 'open'"}},
        "named": {".read": false}}})js";
    expectCases({
        {"bound to the key", rules, nullptr, read("p/mine"), true},
        {"another key", rules, nullptr, read("p/yours"), false},
        {"two wildcards on the way down", rules, nullptr, read("p/other/open"), true},
        {"the inner one bound too", rules, nullptr, read("p/other/shut"), false},
        {"a named child before the wildcard", rules, nullptr, read("p/named"), false},
    });
}

TEST(SecurityRulesTest, ValidateRulesJudgeEveryNodeTheWriteLeavesWithAValue) {
    const char *record = R"js({"r": {".write": true,
        ".validate": "newData.hasChildren(['a', 'b'])",
        "a": {".validate": "newData.isString() && newData.val().length <= 3"},
        "b": {".validate": "newData.val() == 'ok'"},
        "$other": {".validate": false}}})js";
    const Json stored = {{"r", {{"a", "x"}, {"b", "ok"}}}};
    expectCases({
        {"whole and well shaped", record, nullptr, write({{"r", {{"a", "abc"}, {"b", "ok"}}}}), true},
        {"a member missing", record, nullptr, write({{"r", {{"a", "abc"}}}}), false},
        {"a member of the wrong kind", record, nullptr, write({{"r", {{"a", 1}, {"b", "ok"}}}}), false},
        {"a member too long", record, nullptr, write({{"r", {{"a", "abcd"}, {"b", "ok"}}}}), false},
        {"a member not in the record", record, nullptr, write({{"r", {{"a", "x"}, {"b", "ok"}, {"c", "1"}}}}),
         false},
        {"a leaf instead of the record", record, nullptr, write({{"r", "junk"}}), false},
        // A merge is judged on the record it leaves.
        {"a merge of one member into a whole record", record, stored, write({{"r/a", "y"}}), true},
        {"a merge into nothing leaves half a record", record, nullptr, write({{"r/a", "y"}}), false},
        {"the merged member itself is judged", record, stored, write({{"r/b", "no"}}), false},
        // Validation does not cascade: a parent's pass exempts no child.
        {"a child's rule below a passing parent", record, stored, write({{"r/c", "1"}}), false},
        // Removed nodes are not judged; what stays is.
        {"removing the whole record", record, stored, write({{"r", nullptr}}), true},
        {"removing a member the record needs", record, stored, write({{"r/b", nullptr}}), false},
        {"removing nothing from nothing", record, nullptr, write({{"r/a", nullptr}}), true},
        {"a removal below a leaf leaves it", record, stored, write({{"r/a/x", nullptr}}), true},
        // A write below a leaf turns it into a parent.
        {"a write below a leaf", record, stored, write({{"r/a/x", "1"}}), false},
    });
}

TEST(SecurityRulesTest, DataIsTheTreeBeforeTheWriteAndNewDataAfter) {
    const char *createOnly = R"js({"k": {"$key": {".write": "!data.exists() && newData.exists()"}}})js";
    const char *rootChild =
        R"js({"a": {".write": true, ".validate": "root.child('limit/max').val() >= newData.val()"}})js";
    expectCases({
        {"created", createOnly, nullptr, write({{"k/x", "1"}}), true},
        {"replaced", createOnly, {{"k", {{"x", "1"}}}}, write({{"k/x", "2"}}), false},
        {"removed", createOnly, {{"k", {{"x", "1"}}}}, write({{"k/x", nullptr}}), false},
        {"root is the tree before", rootChild, {{"limit", {{"max", 5}}}}, write({{"a", 5}}), true},
        {"above the limit", rootChild, {{"limit", {{"max", 5}}}}, write({{"a", 6}}), false},
    });
}

TEST(SecurityRulesTest, ExpressionsFollowTheServicesTypes) {
    const auto check = [](const char *rule, Json value) {
        const std::string text =
            std::string(R"js({"rules": {"v": {".write": true, ".validate": ")js") + rule + "\"}}}";
        return allowed(SecurityRules::fromText(text), nullptr, write({{"v", std::move(value)}}));
    };
    struct Expression {
        const char *rule;
        Json value;
        bool grants;
    } cases[] = {
        {"newData.val() == '1'", "1", true},
        {"newData.val() == 1", "1", false}, // no conversion between kinds
        {"newData.val() == 1", 1, true},
        {"newData.val() != null", false, true},
        {"newData.val() === true", true, true},
        {"newData.isString()", 1, false},
        {"newData.isNumber() && newData.val() > 2.5", 3, true},
        {"newData.isBoolean()", true, true},
        {"newData.val() > 3", "4", false}, // a text against a number: fails, grants nothing
        {"newData.val() < 'b'", "a", true},
        {"newData.val().length == 2", "\xC3\xA9\xC3\xA9", true}, // two characters
        {"newData.val().length == 2", "\xF0\x9F\x98\x80", true}, // one emoji, two UTF-16 units
        {"newData.val().matches(/^[0-9A-F]{12}$/)", "001A2B3C4D5E", true},
        {"newData.val().matches(/^[0-9A-F]{12}$/)", "001a2b3c4d5e", false},
        {"newData.val().matches(/^[0-9a-f]{12}$/i)", "001A2B3C4D5E", true},
        // Patterns read characters, not bytes.
        {"newData.val().matches(/^.{2}$/)", "\xC3\xA9\xC3\xA9", true},
        {"newData.val().matches(/^\xC3\xA9{2}$/)", "\xC3\xA9\xC3\xA9", true},
        {"newData.val().matches(/^[^a]$/)", "\xC3\xA9", true},
        {"newData.val().matches(/^[\xC3\xA0-\xC3\xBF]$/)", "\xC3\xA1", true},
        // A long text is matched without recursing once per character.
        {"newData.val().matches(/^(a|b)*$/)", std::string(200'000, 'a'), true},
        {"newData.val().contains('b') && newData.val().beginsWith('a') && newData.val().endsWith('c')", "abc",
         true},
        {"newData.val().length > 0", 5, false}, // a number has no length
        {"auth.uid == 'service' && auth.token.email == 's@x.org' && auth.provider == 'password'", 1, true},
        {"auth.token.missing == null", 1, true},
        {"auth.token.missing.deeper == null", 1, false}, // a member of null fails
        {"newData.child('a/b').val() == 1 && newData.hasChild('a/b') && !newData.hasChild('c')",
         {{"a", {{"b", 1}}}},
         true},
        {"newData.hasChildren()", {{"a", 1}}, true},
        {"newData.hasChildren()", 1, false},
        {"newData.val() == null", {{"a", 1}}, false}, // a parent's value is no value
        {"newData.val()", true, true},
        {"newData.val()", "true", false}, // a rule must come to true itself
        {"-newData.val() < 0 && now > 0", 1, true},
        {"!(newData.val() == 1) || false", 2, true},
        {"newData.val() == 1 || newData.val() == 2 || newData.val() == 3", 3, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(check(c.rule, c.value), c.grants) << c.rule << " with " << c.value.dump();
}

TEST(SecurityRulesTest, OpenRulesLetEverySignedInCallerDoAnything) {
    const auto rules = SecurityRules::open();
    EXPECT_TRUE(allowed(rules, nullptr, read("/")));
    EXPECT_TRUE(allowed(rules, nullptr, write({{"/", {{"any", "thing"}}}})));
    EXPECT_FALSE(allowed(rules, nullptr, read("/", false)));
    EXPECT_FALSE(allowed(rules, nullptr, write({{"a", 1}}, false)));
}

} // namespace
