#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace TunewellCloud {

// A place in a rules file: 1-based line and column, the column counted in bytes.
struct TextPosition {
    int line = 1;
    int column = 1;
};

// A rules file the service would not accept, and where the first fault is.
class RulesSyntaxError : public std::runtime_error {
public:
    RulesSyntaxError(TextPosition at, const std::string &message);
    TextPosition at() const { return at_; }

private:
    TextPosition at_;
};

// One JSON value of a rules file with where it stands, so that every message names its line and
// column. Comments (// and /* */) are allowed, as the service allows them in rules.
struct RulesValue {
    enum class Kind { Object, Array, String, Boolean, Number, Null };
    struct Member;

    // The place of a byte of a string's decoded text (its length: the closing quote).
    TextPosition positionOf(std::size_t offset) const;

    Kind kind = Kind::Null;
    TextPosition at;
    bool boolean = false;
    // A string's decoded text, or a number as written.
    std::string text;
    // The column of each byte of a string's decoded text, and of its closing quote; a string
    // never spans lines.
    std::vector<int> columns;
    std::vector<Member> members;
    std::vector<RulesValue> elements;
};

struct RulesValue::Member {
    std::string key;
    TextPosition at;
    RulesValue value;
};

// Throws RulesSyntaxError.
RulesValue parseRulesText(std::string_view text);

} // namespace TunewellCloud
