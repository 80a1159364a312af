#include "TunewellCloud/RuleTree.h"

#include "TunewellCloud/RuleExpressionParser.h"
#include "TunewellCloud/RuleTyping.h"
#include "TunewellCloud/RulesText.h"
#include "TunewellCloud/WriteRules.h"

namespace TunewellCloud {

namespace {

using Kind = RulesValue::Kind;

std::unique_ptr<RuleExpression> ruleOf(const RulesValue &value, const RuleScope &scope) {
    if (value.kind == Kind::Boolean) {
        auto literal = std::make_unique<RuleExpression>();
        literal->kind = RuleExpression::Kind::Boolean;
        literal->boolean = value.boolean;
        return literal;
    }
    if (value.kind != Kind::String)
        throw RulesSyntaxError(value.at, "a rule is true, false or an expression in a text");
    try {
        auto rule = parseRuleExpression(value.text, scope);
        checkBooleanRule(*rule);
        return rule;
    } catch (const RuleExpressionError &error) {
        throw RulesSyntaxError(value.positionOf(error.offset()), error.what());
    }
}

void checkIndexOn(const RulesValue &value) {
    if (value.kind == Kind::String)
        return;
    if (value.kind == Kind::Array) {
        for (const auto &element : value.elements)
            if (element.kind != Kind::String)
                throw RulesSyntaxError(element.at, ".indexOn lists names in texts");
        return;
    }
    throw RulesSyntaxError(value.at, ".indexOn is a name or a list of names");
}

bool validWildcard(std::string_view key) {
    if (key.size() < 2)
        return false;
    for (const char c : key.substr(1))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
              c == '-'))
            return false;
    return true;
}

std::unique_ptr<RuleNode> nodeOf(const RulesValue &value, const RuleScope &scope) {
    if (value.kind != Kind::Object)
        throw RulesSyntaxError(value.at, "the rules of a place are an object");
    auto node = std::make_unique<RuleNode>();
    RuleScope judgingWrites = scope;
    judgingWrites.judgesWrite = true;
    for (const auto &member : value.members) {
        const std::string &key = member.key;
        if (key == ".read") {
            node->read = ruleOf(member.value, scope);
        } else if (key == ".write") {
            node->write = ruleOf(member.value, judgingWrites);
        } else if (key == ".validate") {
            node->validate = ruleOf(member.value, judgingWrites);
        } else if (key == ".indexOn") {
            // Ordered queries are not served here; the index changes no answer.
            checkIndexOn(member.value);
        } else if (key.starts_with('.')) {
            throw RulesSyntaxError(member.at, "unknown rule \"" + key + "\"");
        } else if (key.starts_with('$')) {
            if (!validWildcard(key))
                throw RulesSyntaxError(member.at, "\"" + key + "\" is not a wildcard name");
            if (node->wildcard)
                throw RulesSyntaxError(member.at, "\"" + key + "\" is a second wildcard beside \"" +
                                                      node->wildcardName + "\"");
            RuleScope below = scope;
            below.wildcards.push_back(key);
            node->wildcardName = key;
            node->wildcard = nodeOf(member.value, below);
        } else {
            if (!WriteRules::validKey(key))
                throw RulesSyntaxError(member.at, "\"" + key + "\" is not a key of the database");
            node->children.emplace(key, nodeOf(member.value, scope));
        }
    }
    return node;
}

} // namespace

const RuleNode *RuleNode::childFor(std::string_view key, std::vector<std::string_view> &wildcards) const {
    if (const auto named = children.find(key); named != children.end())
        return named->second.get();
    if (!wildcard)
        return nullptr;
    wildcards.push_back(key);
    return wildcard.get();
}

std::unique_ptr<RuleNode> parseRuleTree(std::string_view text) {
    const RulesValue document = parseRulesText(text);
    if (document.kind != Kind::Object)
        throw RulesSyntaxError(document.at, "a rules file is an object with the member \"rules\"");
    const RulesValue *rules = nullptr;
    for (const auto &member : document.members) {
        if (member.key != "rules")
            throw RulesSyntaxError(member.at, "unknown member \"" + member.key + "\"; expected \"rules\"");
        rules = &member.value;
    }
    if (rules == nullptr)
        throw RulesSyntaxError(document.at, "a rules file is an object with the member \"rules\"");
    return nodeOf(*rules, {});
}

} // namespace TunewellCloud
