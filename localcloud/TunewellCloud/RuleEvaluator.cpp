#include "TunewellCloud/RuleEvaluator.h"

#include "TunewellCloud/RulePattern.h"

#include <algorithm>

namespace TunewellCloud {

namespace {

// A rule that cannot be evaluated; it grants nothing.
struct EvaluationFailed {};

struct Value {
    enum class Kind { Null, Boolean, Number, String, Node, Object, List, Regex };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string_view text;
    RuleSnapshot node;
    // auth or a member of it; nullptr stands for the value of a node with children.
    const Json *object = nullptr;
    // A list or regular expression literal.
    const RuleExpression *literal = nullptr;
};

Value boolean(bool truth) {
    Value value;
    value.kind = Value::Kind::Boolean;
    value.boolean = truth;
    return value;
}

Value number(double amount) {
    Value value;
    value.kind = Value::Kind::Number;
    value.number = amount;
    return value;
}

Value text(std::string_view characters) {
    Value value;
    value.kind = Value::Kind::String;
    value.text = characters;
    return value;
}

Value node(const RuleSnapshot &snapshot) {
    Value value;
    value.kind = Value::Kind::Node;
    value.node = snapshot;
    return value;
}

Value object(const Json *json) {
    Value value;
    value.kind = Value::Kind::Object;
    value.object = json;
    return value;
}

Value ofJson(const Json &json) {
    if (json.is_string())
        return text(json.get_ref<const std::string &>());
    if (json.is_boolean())
        return boolean(json.get<bool>());
    if (json.is_number())
        return number(json.get<double>());
    if (json.is_null())
        return {};
    return object(&json);
}

// As the service counts a text's length: in UTF-16 code units.
double utf16Length(std::string_view characters) {
    double length = 0;
    for (const char c : characters) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            length += byte >= 0xF0 ? 2 : 1;
    }
    return length;
}

class Evaluator {
public:
    explicit Evaluator(const RuleContext &context) : context_(context) {}

    Value evaluate(const RuleExpression &expression) const {
        using Kind = RuleExpression::Kind;
        const auto &operands = expression.operands;
        switch (expression.kind) {
        case Kind::Null:
            return {};
        case Kind::Boolean:
            return boolean(expression.boolean);
        case Kind::Number:
            return number(expression.number);
        case Kind::String:
            return text(expression.text);
        case Kind::Regex:
        case Kind::List: {
            Value value;
            value.kind = expression.kind == Kind::Regex ? Value::Kind::Regex : Value::Kind::List;
            value.literal = &expression;
            return value;
        }
        case Kind::Variable:
            return variable(expression.variable);
        case Kind::Wildcard:
            if (expression.wildcard >= context_.wildcards.size())
                throw EvaluationFailed{};
            return text(context_.wildcards[expression.wildcard]);
        case Kind::Not:
            return boolean(!truth(*operands[0]));
        case Kind::Negate:
            return number(-numberOf(evaluate(*operands[0])));
        case Kind::And:
            return boolean(std::all_of(operands.begin(), operands.end(),
                                       [this](const auto &operand) { return truth(*operand); }));
        case Kind::Or:
            return boolean(std::any_of(operands.begin(), operands.end(),
                                       [this](const auto &operand) { return truth(*operand); }));
        case Kind::Equal:
            return boolean(equal(evaluate(*operands[0]), evaluate(*operands[1])));
        case Kind::NotEqual:
            return boolean(!equal(evaluate(*operands[0]), evaluate(*operands[1])));
        case Kind::Less:
        case Kind::LessEqual:
        case Kind::Greater:
        case Kind::GreaterEqual:
            return boolean(compare(expression.kind, evaluate(*operands[0]), evaluate(*operands[1])));
        case Kind::Member:
            return member(evaluate(*operands[0]), expression.text);
        case Kind::Call:
            return call(expression);
        }
        throw EvaluationFailed{};
    }

    bool truth(const RuleExpression &expression) const {
        const Value value = evaluate(expression);
        if (value.kind != Value::Kind::Boolean)
            throw EvaluationFailed{};
        return value.boolean;
    }

private:
    Value variable(RuleVariable which) const {
        switch (which) {
        case RuleVariable::Auth:
            return context_.auth == nullptr || context_.auth->is_null() ? Value{} : object(context_.auth);
        case RuleVariable::Data:
            return node(context_.data);
        case RuleVariable::NewData:
            return node(context_.newData);
        case RuleVariable::Root:
            return node(context_.root);
        case RuleVariable::Now:
            return number(static_cast<double>(context_.now));
        }
        throw EvaluationFailed{};
    }

    static double numberOf(const Value &value) {
        if (value.kind != Value::Kind::Number)
            throw EvaluationFailed{};
        return value.number;
    }

    static std::string_view textOf(const Value &value) {
        if (value.kind != Value::Kind::String)
            throw EvaluationFailed{};
        return value.text;
    }

    // Strict, as the service compares: values of different kinds are never equal.
    static bool equal(const Value &left, const Value &right) {
        if (left.kind == Value::Kind::Null || right.kind == Value::Kind::Null)
            return left.kind == right.kind;
        for (const Value *side : {&left, &right})
            if (side->kind == Value::Kind::Node || side->kind == Value::Kind::List ||
                side->kind == Value::Kind::Regex)
                throw EvaluationFailed{};
        if (left.kind != right.kind)
            return false;
        switch (left.kind) {
        case Value::Kind::Boolean:
            return left.boolean == right.boolean;
        case Value::Kind::Number:
            return left.number == right.number;
        case Value::Kind::String:
            return left.text == right.text;
        default:
            return left.object != nullptr && right.object != nullptr && *left.object == *right.object;
        }
    }

    static bool compare(RuleExpression::Kind kind, const Value &left, const Value &right) {
        int order = 0;
        if (left.kind == Value::Kind::Number && right.kind == Value::Kind::Number)
            order = left.number < right.number ? -1 : (left.number > right.number ? 1 : 0);
        else if (left.kind == Value::Kind::String && right.kind == Value::Kind::String)
            order = left.text.compare(right.text);
        else
            throw EvaluationFailed{};
        switch (kind) {
        case RuleExpression::Kind::Less:
            return order < 0;
        case RuleExpression::Kind::LessEqual:
            return order <= 0;
        case RuleExpression::Kind::Greater:
            return order > 0;
        default:
            return order >= 0;
        }
    }

    static Value member(const Value &owner, const std::string &name) {
        if (owner.kind == Value::Kind::String && name == "length")
            return number(utf16Length(owner.text));
        if (owner.kind != Value::Kind::Object || owner.object == nullptr || !owner.object->is_object())
            throw EvaluationFailed{};
        const auto found = owner.object->find(name);
        return found == owner.object->end() ? Value{} : ofJson(*found);
    }

    Value call(const RuleExpression &expression) const {
        const Value owner = evaluate(*expression.operands[0]);
        const auto argument = [&](std::size_t index) { return evaluate(*expression.operands[index + 1]); };
        if (owner.kind == Value::Kind::String)
            return textMethod(expression, owner.text, argument);
        if (owner.kind != Value::Kind::Node)
            throw EvaluationFailed{};
        const RuleSnapshot &snapshot = owner.node;
        switch (expression.method) {
        case RuleMethod::Val: {
            if (!snapshot.exists())
                return {};
            const Json *leaf = snapshot.leaf();
            return leaf ? ofJson(*leaf) : object(nullptr);
        }
        case RuleMethod::Exists:
            return boolean(snapshot.exists());
        case RuleMethod::HasChild:
            return boolean(snapshot.descendant(textOf(argument(0))).exists());
        case RuleMethod::HasChildren:
            if (expression.operands.size() == 1)
                return boolean(snapshot.hasChildren());
            return boolean(hasEveryChild(snapshot, argument(0)));
        case RuleMethod::Child:
            return node(snapshot.descendant(textOf(argument(0))));
        case RuleMethod::IsString: {
            const Json *leaf = snapshot.leaf();
            return boolean(leaf != nullptr && leaf->is_string());
        }
        case RuleMethod::IsNumber: {
            const Json *leaf = snapshot.leaf();
            return boolean(leaf != nullptr && leaf->is_number());
        }
        case RuleMethod::IsBoolean: {
            const Json *leaf = snapshot.leaf();
            return boolean(leaf != nullptr && leaf->is_boolean());
        }
        default:
            throw EvaluationFailed{};
        }
    }

    bool hasEveryChild(const RuleSnapshot &snapshot, const Value &names) const {
        if (names.kind != Value::Kind::List)
            throw EvaluationFailed{};
        for (const auto &name : names.literal->operands)
            if (!snapshot.descendant(textOf(evaluate(*name))).exists())
                return false;
        return true;
    }

    template <typename Argument>
    static Value textMethod(const RuleExpression &expression, std::string_view owner,
                            const Argument &argument) {
        switch (expression.method) {
        case RuleMethod::Matches: {
            const Value pattern = argument(0);
            if (pattern.kind != Value::Kind::Regex)
                throw EvaluationFailed{};
            return boolean(pattern.literal->pattern->foundIn(owner));
        }
        case RuleMethod::Contains:
            return boolean(owner.find(textOf(argument(0))) != std::string_view::npos);
        case RuleMethod::BeginsWith:
            return boolean(owner.starts_with(textOf(argument(0))));
        case RuleMethod::EndsWith:
            return boolean(owner.ends_with(textOf(argument(0))));
        default:
            throw EvaluationFailed{};
        }
    }

    const RuleContext &context_;
};

} // namespace

bool ruleGrants(const RuleExpression &rule, const RuleContext &context) {
    try {
        const Value value = Evaluator(context).evaluate(rule);
        return value.kind == Value::Kind::Boolean && value.boolean;
    } catch (const EvaluationFailed &) {
        return false;
    } catch (const std::regex_error &) {
        // A match too complex for the engine.
        return false;
    }
}

} // namespace TunewellCloud
