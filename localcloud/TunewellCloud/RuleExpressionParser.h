#pragma once

#include "TunewellCloud/RuleExpression.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace TunewellCloud {

// What a rule may name: newData only in a rule that judges a write, and the wildcards ("$id")
// of the rule's place and above it, outermost first.
struct RuleScope {
    bool judgesWrite = false;
    std::vector<std::string> wildcards;
};

// A rule expression that does not parse, or names what its scope lacks; offset is in bytes.
class RuleExpressionError : public std::runtime_error {
public:
    RuleExpressionError(std::size_t offset, const std::string &message);
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

// Throws RuleExpressionError.
std::unique_ptr<RuleExpression> parseRuleExpression(std::string_view text, const RuleScope &scope);

} // namespace TunewellCloud
