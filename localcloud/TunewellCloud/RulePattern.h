#pragma once

#include <memory>
#include <regex>
#include <string_view>

namespace TunewellCloud {

// A rule's regular expression literal, in the part of the language the service documents: \s \w
// \d \S \W \D, "\" before a sign, "^" first and "$" last only, * + ? and counts {n} {n,} {n,m}
// (each at most kLargestCount), ".", plain groups, "|", sets [akz] [a-z] [^a], and the flag i.
// It only tests a text; it captures nothing.
class RulePattern {
public:
    static constexpr unsigned kLargestCount = 1000;
    // What the counts may unroll the pattern to, in characters and sets matched.
    static constexpr unsigned long kLargestUnrolled = 10000;

    // Throws RuleExpressionError for what the service would not read the same, with the offset
    // in the literal: 0 is its opening "/", the pattern follows, then the closing "/" and the flags.
    static std::shared_ptr<const RulePattern> compile(std::string_view pattern, std::string_view flags);

    // Whether the pattern is found in the text, character by character (not byte by byte). Throws
    // std::regex_error for a match too complex for the engine.
    bool foundIn(std::string_view text) const;

    // Only compile() makes one.
    class Checked {
        explicit Checked() = default;
        friend class RulePattern;
    };
    RulePattern(Checked, std::wregex regex);

private:
    std::wregex regex_;
};

} // namespace TunewellCloud
