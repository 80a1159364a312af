#include "TunewellCloud/RuleExpressionParser.h"

#include "TunewellCloud/RuleLexer.h"
#include "TunewellCloud/RulePattern.h"

#include <array>
#include <charconv>
#include <tuple>

namespace TunewellCloud {

namespace {

// Far deeper than a rule needs, and shallow enough for the recursion of the parser and of
// the evaluation.
constexpr int kDeepestExpressionNesting = 100;
// Also bounds the recursion of compiling a pattern.
constexpr std::size_t kLongestPattern = 1000;

struct MethodEntry {
    std::string_view name;
    RuleMethod method;
    std::size_t fewestArguments;
    std::size_t mostArguments;
};

constexpr std::array<MethodEntry, 12> kMethods{{
    {"val", RuleMethod::Val, 0, 0},
    {"exists", RuleMethod::Exists, 0, 0},
    {"hasChild", RuleMethod::HasChild, 1, 1},
    {"hasChildren", RuleMethod::HasChildren, 0, 1},
    {"child", RuleMethod::Child, 1, 1},
    {"isString", RuleMethod::IsString, 0, 0},
    {"isNumber", RuleMethod::IsNumber, 0, 0},
    {"isBoolean", RuleMethod::IsBoolean, 0, 0},
    {"matches", RuleMethod::Matches, 1, 1},
    {"contains", RuleMethod::Contains, 1, 1},
    {"beginsWith", RuleMethod::BeginsWith, 1, 1},
    {"endsWith", RuleMethod::EndsWith, 1, 1},
}};

using Node = std::unique_ptr<RuleExpression>;

class Parser {
public:
    Parser(std::string_view text, const RuleScope &scope) : lexer_(text), scope_(scope) {}

    Node expression() {
        Node node = disjunction(0);
        if (lexer_.token() != RuleToken::End)
            failUnexpected();
        return node;
    }

private:
    [[noreturn]] void fail(std::size_t offset, const std::string &message) const {
        throw RuleExpressionError(offset, message);
    }

    [[noreturn]] void failUnexpected() const {
        if (lexer_.token() == RuleToken::Unsupported)
            fail(lexer_.start(), lexer_.describe() + " is not an operator the local cloud evaluates");
        fail(lexer_.start(), "unexpected " + lexer_.describe());
    }

    static Node make(RuleExpression::Kind kind, std::size_t offset) {
        auto node = std::make_unique<RuleExpression>();
        node->kind = kind;
        node->offset = offset;
        return node;
    }

    static Node combine(RuleExpression::Kind kind, Node left, Node right) {
        Node node = make(kind, left->offset);
        node->operands.push_back(std::move(left));
        node->operands.push_back(std::move(right));
        return node;
    }

    void checkDepth(int depth) const {
        if (depth > kDeepestExpressionNesting)
            fail(lexer_.start(),
                 "nested more than " + std::to_string(kDeepestExpressionNesting) + " levels deep");
    }

    Node disjunction(int depth) {
        checkDepth(depth);
        return chain(RuleToken::Or, RuleExpression::Kind::Or, depth + 1, [this](int below) {
            return chain(RuleToken::And, RuleExpression::Kind::And, below,
                         [this](int d) { return equality(d); });
        });
    }

    // "a && b && c" as one node of three operands, so that a long rule is evaluated without
    // recursing once per term.
    template <typename Operand>
    Node chain(RuleToken separator, RuleExpression::Kind kind, int depth, Operand operand) {
        Node first = operand(depth);
        if (lexer_.token() != separator)
            return first;
        Node node = make(kind, first->offset);
        node->operands.push_back(std::move(first));
        while (lexer_.token() == separator) {
            lexer_.next();
            node->operands.push_back(operand(depth));
        }
        return node;
    }

    // Chains of comparisons nest one level per operator.
    Node equality(int depth) {
        Node node = comparison(depth);
        while (lexer_.token() == RuleToken::Equal || lexer_.token() == RuleToken::NotEqual) {
            const auto kind = lexer_.token() == RuleToken::Equal ? RuleExpression::Kind::Equal
                                                                 : RuleExpression::Kind::NotEqual;
            checkDepth(++depth);
            lexer_.next();
            node = combine(kind, std::move(node), comparison(depth));
        }
        return node;
    }

    Node comparison(int depth) {
        Node node = unary(depth);
        for (;;) {
            RuleExpression::Kind kind;
            switch (lexer_.token()) {
            case RuleToken::Less:
                kind = RuleExpression::Kind::Less;
                break;
            case RuleToken::LessEqual:
                kind = RuleExpression::Kind::LessEqual;
                break;
            case RuleToken::Greater:
                kind = RuleExpression::Kind::Greater;
                break;
            case RuleToken::GreaterEqual:
                kind = RuleExpression::Kind::GreaterEqual;
                break;
            default:
                return node;
            }
            checkDepth(++depth);
            lexer_.next();
            node = combine(kind, std::move(node), unary(depth));
        }
    }

    Node unary(int depth) {
        checkDepth(depth);
        if (lexer_.token() == RuleToken::Not || lexer_.token() == RuleToken::Minus) {
            Node node = make(lexer_.token() == RuleToken::Not ? RuleExpression::Kind::Not
                                                              : RuleExpression::Kind::Negate,
                             lexer_.start());
            lexer_.next();
            node->operands.push_back(unary(depth + 1));
            return node;
        }
        return postfix(depth);
    }

    Node postfix(int depth) {
        Node node = primary(depth);
        while (lexer_.token() == RuleToken::Dot) {
            lexer_.next();
            if (lexer_.token() != RuleToken::Name)
                fail(lexer_.start(), "expected a name after '.'");
            const std::size_t nameStart = lexer_.start();
            const std::string name = lexer_.text();
            lexer_.next();
            if (lexer_.token() != RuleToken::Open) {
                Node member = make(RuleExpression::Kind::Member, node->offset);
                member->text = name;
                member->operands.push_back(std::move(node));
                node = std::move(member);
                continue;
            }
            Node call = make(RuleExpression::Kind::Call, node->offset);
            call->method = methodNamed(name, nameStart);
            call->operands.push_back(std::move(node));
            lexer_.next();
            operandsUntil(RuleToken::Close, ')', *call, depth);
            checkArguments(*call, name, nameStart);
            node = std::move(call);
        }
        return node;
    }

    // "a, b, c" up to and past the closing token, for a call's arguments and a list.
    void operandsUntil(RuleToken close, char closing, RuleExpression &into, int depth) {
        while (lexer_.token() != close) {
            into.operands.push_back(disjunction(depth + 1));
            if (lexer_.token() == RuleToken::Comma)
                lexer_.next();
            else if (lexer_.token() != close)
                fail(lexer_.start(),
                     std::string("expected ',' or '") + closing + "' instead of " + lexer_.describe());
        }
        lexer_.next();
    }

    RuleMethod methodNamed(const std::string &name, std::size_t at) const {
        for (const auto &entry : kMethods)
            if (entry.name == name)
                return entry.method;
        fail(at, "'" + name + "()' is not a method the local cloud evaluates");
    }

    void checkArguments(const RuleExpression &call, const std::string &name, std::size_t at) const {
        for (const auto &entry : kMethods) {
            if (entry.method != call.method)
                continue;
            const std::size_t given = call.operands.size() - 1;
            if (given < entry.fewestArguments || given > entry.mostArguments)
                fail(at, "'" + name + "()' takes " +
                             (entry.fewestArguments == entry.mostArguments
                                  ? std::to_string(entry.mostArguments)
                                  : std::to_string(entry.fewestArguments) + " or " +
                                        std::to_string(entry.mostArguments)) +
                             (entry.mostArguments == 1 ? " argument" : " arguments"));
            if (call.method == RuleMethod::Matches && call.operands[1]->kind != RuleExpression::Kind::Regex)
                fail(call.operands[1]->offset, "matches() takes a regular expression such as /^[0-9]+$/");
        }
    }

    Node primary(int depth) {
        const std::size_t start = lexer_.start();
        switch (lexer_.token()) {
        case RuleToken::Number: {
            Node node = make(RuleExpression::Kind::Number, start);
            std::from_chars(lexer_.text().data(), lexer_.text().data() + lexer_.text().size(), node->number);
            lexer_.next();
            return node;
        }
        case RuleToken::String: {
            Node node = make(RuleExpression::Kind::String, start);
            node->text = lexer_.text();
            lexer_.next();
            return node;
        }
        case RuleToken::Regex:
            return regex(start);
        case RuleToken::Name:
            return named(start);
        case RuleToken::Open: {
            lexer_.next();
            Node node = disjunction(depth + 1);
            if (lexer_.token() != RuleToken::Close)
                fail(lexer_.start(), "expected ')' instead of " + lexer_.describe());
            lexer_.next();
            return node;
        }
        case RuleToken::OpenList: {
            Node list = make(RuleExpression::Kind::List, start);
            lexer_.next();
            operandsUntil(RuleToken::CloseList, ']', *list, depth);
            return list;
        }
        default:
            failUnexpected();
        }
    }

    Node regex(std::size_t start) {
        Node node = make(RuleExpression::Kind::Regex, start);
        if (lexer_.text().size() > kLongestPattern)
            fail(start,
                 "a regular expression longer than " + std::to_string(kLongestPattern) + " characters");
        try {
            node->pattern = RulePattern::compile(lexer_.text(), lexer_.regexFlags());
        } catch (const RuleExpressionError &error) {
            fail(start + error.offset(), error.what());
        }
        lexer_.next();
        return node;
    }

    Node named(std::size_t start) {
        const std::string name = lexer_.text();
        lexer_.next();
        if (name == "true" || name == "false") {
            Node node = make(RuleExpression::Kind::Boolean, start);
            node->boolean = name == "true";
            return node;
        }
        if (name == "null")
            return make(RuleExpression::Kind::Null, start);
        if (name.front() == '$') {
            for (std::size_t i = scope_.wildcards.size(); i-- > 0;) {
                if (scope_.wildcards[i] == name) {
                    Node node = make(RuleExpression::Kind::Wildcard, start);
                    node->text = name;
                    node->wildcard = i;
                    return node;
                }
            }
            fail(start, name + " is not a wildcard of this rule's place or above it");
        }
        static constexpr std::array<std::tuple<std::string_view, RuleVariable>, 5> kVariables{{
            {"auth", RuleVariable::Auth},
            {"data", RuleVariable::Data},
            {"newData", RuleVariable::NewData},
            {"root", RuleVariable::Root},
            {"now", RuleVariable::Now},
        }};
        for (const auto &[spelling, variable] : kVariables) {
            if (spelling != name)
                continue;
            if (variable == RuleVariable::NewData && !scope_.judgesWrite)
                fail(start, "newData is only known in .write and .validate rules");
            Node node = make(RuleExpression::Kind::Variable, start);
            node->variable = variable;
            return node;
        }
        fail(start, "unknown name '" + name + "'");
    }

    RuleLexer lexer_;
    const RuleScope &scope_;
};

} // namespace

RuleExpressionError::RuleExpressionError(std::size_t offset, const std::string &message)
    : std::runtime_error(message), offset_(offset) {}

std::unique_ptr<RuleExpression> parseRuleExpression(std::string_view text, const RuleScope &scope) {
    return Parser(text, scope).expression();
}

} // namespace TunewellCloud
