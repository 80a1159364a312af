#include "TunewellCloud/RuleLexer.h"

#include "TunewellCloud/Ascii.h"
#include "TunewellCloud/RuleExpressionParser.h"

#include <array>
#include <tuple>

namespace TunewellCloud {

namespace {

bool startsName(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}

bool continuesName(char c) {
    return startsName(c) || (c >= '0' && c <= '9');
}

} // namespace

RuleLexer::RuleLexer(std::string_view text) : rule_(text) {
    next();
}

std::string RuleLexer::describe() const {
    if (token_ == RuleToken::End)
        return "end of the rule";
    return "'" + std::string(rule_.substr(start_, position_ - start_)) + "'";
}

void RuleLexer::next() {
    while (position_ < rule_.size() && (rule_[position_] == ' ' || rule_[position_] == '\t' ||
                                        rule_[position_] == '\r' || rule_[position_] == '\n'))
        ++position_;
    start_ = position_;
    text_.clear();
    if (position_ >= rule_.size()) {
        token_ = RuleToken::End;
        return;
    }
    const char c = rule_[position_];
    const auto twoCharacters = rule_.substr(position_, 2);
    const auto threeCharacters = rule_.substr(position_, 3);
    if (isAsciiDigit(c)) {
        number();
    } else if (c == '\'' || c == '"') {
        string(c);
    } else if (c == '/') {
        regex();
    } else if (startsName(c)) {
        while (position_ < rule_.size() && continuesName(rule_[position_]))
            ++position_;
        text_ = std::string(rule_.substr(start_, position_ - start_));
        token_ = RuleToken::Name;
    } else if (threeCharacters == "===" || threeCharacters == "!==") {
        position_ += 3;
        token_ = c == '=' ? RuleToken::Equal : RuleToken::NotEqual;
    } else {
        static constexpr std::array<std::tuple<std::string_view, RuleToken>, 16> kOperators{{
            {"&&", RuleToken::And},
            {"||", RuleToken::Or},
            {"==", RuleToken::Equal},
            {"!=", RuleToken::NotEqual},
            {"<=", RuleToken::LessEqual},
            {">=", RuleToken::GreaterEqual},
            {"<", RuleToken::Less},
            {">", RuleToken::Greater},
            {"!", RuleToken::Not},
            {"-", RuleToken::Minus},
            {"(", RuleToken::Open},
            {")", RuleToken::Close},
            {"[", RuleToken::OpenList},
            {"]", RuleToken::CloseList},
            {",", RuleToken::Comma},
            {".", RuleToken::Dot},
        }};
        for (const auto &[spelling, token] : kOperators) {
            if (twoCharacters.substr(0, spelling.size()) == spelling) {
                position_ += spelling.size();
                token_ = token;
                return;
            }
        }
        // "+", "*", "%", "?" and the like: the language has them, the local cloud does not.
        ++position_;
        token_ = RuleToken::Unsupported;
    }
}

void RuleLexer::number() {
    while (position_ < rule_.size() && isAsciiDigit(rule_[position_]))
        ++position_;
    if (position_ + 1 < rule_.size() && rule_[position_] == '.' && isAsciiDigit(rule_[position_ + 1])) {
        ++position_;
        while (position_ < rule_.size() && isAsciiDigit(rule_[position_]))
            ++position_;
    }
    text_ = std::string(rule_.substr(start_, position_ - start_));
    token_ = RuleToken::Number;
}

void RuleLexer::string(char quote) {
    ++position_;
    for (;;) {
        if (position_ >= rule_.size())
            throw RuleExpressionError(start_, "text not closed");
        const char c = rule_[position_++];
        if (c == quote)
            break;
        if (c != '\\') {
            text_ += c;
            continue;
        }
        if (position_ >= rule_.size())
            throw RuleExpressionError(start_, "text not closed");
        const char escaped = rule_[position_++];
        static constexpr std::string_view plain = "\\'\"/nrt";
        static constexpr std::string_view meant = "\\'\"/\n\r\t";
        const auto found = plain.find(escaped);
        if (found == std::string_view::npos)
            throw RuleExpressionError(position_ - 2, "unknown escape \\" + std::string(1, escaped));
        text_ += meant[found];
    }
    token_ = RuleToken::String;
}

// A regular expression literal: the language has no division, so a slash always opens one.
void RuleLexer::regex() {
    ++position_;
    bool inClass = false;
    for (;;) {
        if (position_ >= rule_.size())
            throw RuleExpressionError(start_, "regular expression not closed with '/'");
        const char c = rule_[position_++];
        if (c == '\\') {
            if (position_ >= rule_.size())
                throw RuleExpressionError(start_, "regular expression not closed with '/'");
            text_ += c;
            text_ += rule_[position_++];
            continue;
        }
        if (c == '/' && !inClass)
            break;
        if (c == '[')
            inClass = true;
        else if (c == ']')
            inClass = false;
        text_ += c;
    }
    regexFlags_.clear();
    while (position_ < rule_.size() && continuesName(rule_[position_]))
        regexFlags_ += rule_[position_++];
    token_ = RuleToken::Regex;
}

} // namespace TunewellCloud
