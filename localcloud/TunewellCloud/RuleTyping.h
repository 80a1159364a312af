#pragma once

namespace TunewellCloud {

struct RuleExpression;

// Refuses a rule that is not boolean where its type is known before it runs: a text, a number,
// null, a node (data), auth or one of its texts, and the operands of !, && and || alike. What
// only the data decides (val(), a claim of auth.token) is left to the evaluation, where anything
// but true or false grants nothing. Throws RuleExpressionError at the offending expression.
void checkBooleanRule(const RuleExpression &rule);

} // namespace TunewellCloud
