#pragma once

#include <memory>
#include <string>
#include <vector>

namespace TunewellCloud {

class RulePattern;

enum class RuleVariable { Auth, Data, NewData, Root, Now };

enum class RuleMethod {
    // Of a node: data, newData, root and what child() gives.
    Val,
    Exists,
    HasChild,
    HasChildren,
    Child,
    IsString,
    IsNumber,
    IsBoolean,
    // Of a text.
    Matches,
    Contains,
    BeginsWith,
    EndsWith,
};

// One node of a parsed rule expression, in the part of the service's rules language the local
// cloud knows.
struct RuleExpression {
    enum class Kind {
        Null,
        Boolean,
        Number,
        String,
        Regex,
        List,     // [a, b]: the operands
        Variable, // variable
        Wildcard, // $name: the wildcard'th key bound on the way down, outermost first
        Not,
        Negate,
        And, // every operand, left to right
        Or,  // any operand, left to right
        Equal,
        NotEqual,
        Less,
        LessEqual,
        Greater,
        GreaterEqual,
        Member, // operands[0].name
        Call,   // operands[0].method(operands[1...])
    };

    Kind kind = Kind::Null;
    // Where the expression starts in the rule's text, in bytes.
    std::size_t offset = 0;
    bool boolean = false;
    double number = 0;
    // A text literal's text, or a member's or wildcard's name.
    std::string text;
    RuleVariable variable = RuleVariable::Auth;
    RuleMethod method = RuleMethod::Val;
    std::size_t wildcard = 0;
    std::shared_ptr<const RulePattern> pattern;
    std::vector<std::unique_ptr<RuleExpression>> operands;
};

} // namespace TunewellCloud
