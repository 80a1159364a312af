#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace TunewellCloud {

enum class RuleToken {
    End,
    Number,
    String,
    Regex,
    Name, // identifiers and $wildcards
    Open,
    Close,
    OpenList,
    CloseList,
    Comma,
    Dot,
    Not,
    Minus,
    And,
    Or,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Unsupported, // an operator of the language the local cloud does not evaluate
};

// Cuts a rule's text into tokens, one ahead of the parser; throws RuleExpressionError for a
// text or regular expression left open and an unknown escape.
class RuleLexer {
public:
    explicit RuleLexer(std::string_view text);

    void next();
    RuleToken token() const { return token_; }
    // Where the token starts, in bytes.
    std::size_t start() const { return start_; }
    // A number or name as written, a text decoded, or a regular expression's pattern.
    const std::string &text() const { return text_; }
    const std::string &regexFlags() const { return regexFlags_; }
    // The token as written, or "end of the rule", for messages.
    std::string describe() const;

private:
    void number();
    void string(char quote);
    void regex();

    std::string_view rule_;
    std::size_t position_ = 0;
    RuleToken token_ = RuleToken::End;
    std::size_t start_ = 0;
    std::string text_;
    std::string regexFlags_;
};

} // namespace TunewellCloud
