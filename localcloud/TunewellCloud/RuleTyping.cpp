#include "TunewellCloud/RuleTyping.h"

#include "TunewellCloud/RuleExpression.h"
#include "TunewellCloud/RuleExpressionParser.h"

#include <string>

namespace TunewellCloud {

namespace {

// Value: what val() reads, of any kind but a node; Unknown: a claim of the token, or what a
// failed evaluation leaves.
enum class Type { Boolean, Number, String, Null, Node, Auth, AuthToken, List, Regex, Value, Unknown };

const char *describe(Type type) {
    switch (type) {
    case Type::Number:
        return "a number";
    case Type::String:
        return "a text";
    case Type::Null:
        return "null";
    case Type::Node:
        return "a node of the database; call exists(), val() or the like";
    case Type::Auth:
        return "auth, an object; compare it, as in auth != null";
    case Type::AuthToken:
        return "auth.token, an object";
    case Type::List:
        return "a list";
    case Type::Regex:
        return "a regular expression";
    default:
        return "a value";
    }
}

Type typeOf(const RuleExpression &expression);

void requireBoolean(const RuleExpression &expression, const char *where) {
    const Type type = typeOf(expression);
    if (type != Type::Boolean && type != Type::Value && type != Type::Unknown)
        throw RuleExpressionError(expression.offset,
                                  std::string(where) + " must be boolean, not " + describe(type));
}

// An operand's own type is judged where it is used; what is nested in it is checked here.
void checkOperands(const RuleExpression &expression) {
    for (const auto &operand : expression.operands)
        typeOf(*operand);
}

Type memberType(const RuleExpression &member) {
    const Type owner = typeOf(*member.operands[0]);
    // Of a text its length; of anything else val() reads, a failed evaluation.
    if ((owner == Type::String || owner == Type::Value) && member.text == "length")
        return Type::Number;
    if (owner == Type::Auth) {
        if (member.text == "uid" || member.text == "provider")
            return Type::String;
        if (member.text == "token")
            return Type::AuthToken;
    }
    return Type::Unknown;
}

Type callType(const RuleExpression &call) {
    switch (call.method) {
    case RuleMethod::Val:
        return Type::Value;
    case RuleMethod::Child:
        return Type::Node;
    default:
        return Type::Boolean;
    }
}

Type typeOf(const RuleExpression &expression) {
    using Kind = RuleExpression::Kind;
    switch (expression.kind) {
    case Kind::Null:
        return Type::Null;
    case Kind::Boolean:
        return Type::Boolean;
    case Kind::Number:
    case Kind::Negate:
        return Type::Number;
    case Kind::String:
    case Kind::Wildcard:
        return Type::String;
    case Kind::Regex:
        return Type::Regex;
    case Kind::List:
        checkOperands(expression);
        return Type::List;
    case Kind::Variable:
        switch (expression.variable) {
        case RuleVariable::Auth:
            return Type::Auth;
        case RuleVariable::Now:
            return Type::Number;
        default:
            return Type::Node;
        }
    case Kind::Not:
        requireBoolean(*expression.operands[0], "the operand of '!'");
        return Type::Boolean;
    case Kind::And:
    case Kind::Or:
        for (const auto &operand : expression.operands)
            requireBoolean(*operand,
                           expression.kind == Kind::And ? "each operand of '&&'" : "each operand of '||'");
        return Type::Boolean;
    case Kind::Equal:
    case Kind::NotEqual:
    case Kind::Less:
    case Kind::LessEqual:
    case Kind::Greater:
    case Kind::GreaterEqual:
        checkOperands(expression);
        return Type::Boolean;
    case Kind::Member:
        return memberType(expression);
    case Kind::Call:
        checkOperands(expression);
        return callType(expression);
    }
    return Type::Unknown;
}

} // namespace

void checkBooleanRule(const RuleExpression &rule) {
    requireBoolean(rule, "a rule");
}

} // namespace TunewellCloud
