#include "TunewellCloud/RulePattern.h"

#include "TunewellCloud/RuleExpressionParser.h"
#include "TunewellCloud/Utf8.h"

#include <algorithm>
#include <optional>
#include <string>

namespace TunewellCloud {

namespace {

constexpr std::string_view kClassEscapes = "sdwSDW";

bool isAsciiAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// Walks a pattern once, refusing the first thing outside the documented subset, and weighs what
// its counts unroll it to. Offsets are in the pattern; the literal's are one more.
class PatternChecker {
public:
    explicit PatternChecker(std::string_view pattern) : pattern_(pattern) {}

    void check() {
        if (pattern_.empty())
            fail(0, "an empty regular expression");
        const std::size_t begin = pattern_.front() == '^' ? 1 : 0;
        end_ = pattern_.size();
        if (end_ > begin && pattern_[end_ - 1] == '$' && !escaped(end_ - 1))
            --end_;
        position_ = begin;
        const bool anchored = begin == 1 || end_ < pattern_.size();
        // "^$" and the like: the only place where nothing between may stand.
        if (position_ == end_ && anchored)
            return;
        alternatives();
        if (position_ < end_)
            fail(position_, "')' without its '('");
    }

private:
    [[noreturn]] void fail(std::size_t at, const std::string &message) const {
        throw RuleExpressionError(at + 1, message);
    }

    bool escaped(std::size_t at) const {
        std::size_t backslashes = 0;
        while (at > backslashes && pattern_[at - backslashes - 1] == '\\')
            ++backslashes;
        return backslashes % 2 == 1;
    }

    bool more() const { return position_ < end_; }
    char peek() const { return more() ? pattern_[position_] : '\0'; }

    unsigned long weigh(unsigned long weight, std::size_t at) const {
        if (weight > RulePattern::kLargestUnrolled)
            fail(at, "a regular expression whose counts unroll it past " +
                         std::to_string(RulePattern::kLargestUnrolled) + " characters");
        return weight;
    }

    // a|b|c up to a ')' or the end.
    unsigned long alternatives() {
        unsigned long weight = 0;
        for (;;) {
            if (!more() || peek() == '|' || peek() == ')')
                fail(position_, "an empty alternative; the service's '|' stands between two");
            weight = weigh(weight + sequence(), position_);
            if (peek() != '|')
                return weight;
            ++position_;
        }
    }

    unsigned long sequence() {
        unsigned long weight = 0;
        while (more() && peek() != '|' && peek() != ')') {
            const std::size_t start = position_;
            unsigned long atomWeight = atom();
            if (more() && std::string_view("*+?{").find(peek()) != std::string_view::npos) {
                atomWeight = weigh(counted(atomWeight), start);
                if (peek() == '?')
                    fail(position_, "a lazy quantifier; the service's quantifiers are greedy only");
                if (more() && std::string_view("*+{").find(peek()) != std::string_view::npos)
                    fail(position_, "'" + std::string(1, peek()) + "' repeats a quantifier");
            }
            weight = weigh(weight + atomWeight, start);
        }
        return weight;
    }

    unsigned long atom() {
        const std::size_t at = position_;
        const char c = peek();
        switch (c) {
        case '(':
            return group();
        case '[':
            return set();
        case '\\':
            escape();
            return 1;
        case '.':
            ++position_;
            return 1;
        case '*':
        case '+':
        case '?':
            fail(at, "'" + std::string(1, c) + "' repeats nothing");
        case '{':
        case '}':
        case ']':
            fail(at, "'" + std::string(1, c) + "' stands alone; write \\" + std::string(1, c) +
                         " for the character");
        case '^':
            fail(at, "'^' only as the pattern's first character");
        case '$':
            fail(at, "'$' only as the pattern's last character");
        default:
            character();
            return 1;
        }
    }

    unsigned long group() {
        const std::size_t open = position_++;
        if (!more())
            fail(open, "'(' not closed with ')'");
        if (peek() == '?')
            fail(position_, "'(?': the service's groups are plain ( ) only");
        if (peek() == ')')
            fail(open, "an empty group");
        const unsigned long weight = alternatives();
        if (peek() != ')')
            fail(open, "'(' not closed with ')'");
        ++position_;
        return weight;
    }

    // A character standing for itself; none for a class escape such as \d.
    std::optional<char32_t> character() {
        const std::size_t at = position_;
        if (isControl(peek()))
            fail(at, "a control character; the service's patterns are one line of visible text");
        std::size_t next = position_;
        const auto decoded = Utf8::nextCharacter(pattern_.substr(0, end_), next);
        if (!decoded)
            fail(at, "a pattern that is not UTF-8");
        position_ = next;
        return decoded;
    }

    std::optional<char32_t> escape() {
        const std::size_t at = position_++;
        if (!more())
            fail(at, "'\\' escapes nothing");
        const char escapedCharacter = peek();
        if (kClassEscapes.find(escapedCharacter) != std::string_view::npos) {
            ++position_;
            return std::nullopt;
        }
        if (isAsciiAlphanumeric(escapedCharacter) || static_cast<unsigned char>(escapedCharacter) >= 0x80)
            fail(at, "'\\" + std::string(1, escapedCharacter) +
                         "' is not an escape of the service; it knows \\s \\w \\d \\S \\W \\D and '\\' "
                         "before a sign");
        return character();
    }

    // [akz], [a-z], [^a]; a '-' first or last stands for itself.
    unsigned long set() {
        const std::size_t open = position_++;
        if (peek() == '^')
            ++position_;
        if (peek() == ']')
            fail(position_, "an empty set");
        while (peek() != ']') {
            if (!more())
                fail(open, "'[' not closed with ']'");
            const std::size_t itemStart = position_;
            const auto low = setMember();
            if (peek() != '-' || position_ + 1 >= end_ || pattern_[position_ + 1] == ']')
                continue;
            ++position_;
            if (!more())
                fail(open, "'[' not closed with ']'");
            const auto high = setMember();
            if (!low || !high)
                fail(itemStart, "a range from or to a class such as \\d");
            if (*low > *high)
                fail(itemStart, "a range out of order");
        }
        ++position_;
        return 1;
    }

    std::optional<char32_t> setMember() {
        switch (peek()) {
        case '\\':
            return escape();
        case '[':
            // [[:alpha:]] would read as a class here and as '[' and ':' there.
            fail(position_, "'[' inside a set; write \\[ for the character");
        default:
            return character();
        }
    }

    // After an atom of the given weight: *, +, ? or a count.
    unsigned long counted(unsigned long weight) {
        const std::size_t at = position_;
        if (peek() != '{') {
            ++position_;
            return weight;
        }
        ++position_;
        const auto least = count(at);
        if (!least)
            fail(at, "'{' starts a count {n}, {n,} or {n,m}; write \\{ for the character");
        std::optional<unsigned long> most = least;
        bool unbounded = false;
        if (peek() == ',') {
            ++position_;
            most = count(at);
            unbounded = !most;
        }
        if (peek() != '}')
            fail(at, "'{' starts a count {n}, {n,} or {n,m}; write \\{ for the character");
        ++position_;
        if (most && *most < *least)
            fail(at, "a count whose most is below its least");
        const unsigned long times = unbounded ? *least + 1 : std::max(*most, 1UL);
        return weight * times;
    }

    std::optional<unsigned long> count(std::size_t at) {
        unsigned long value = 0;
        const std::size_t start = position_;
        while (more() && peek() >= '0' && peek() <= '9') {
            value = value * 10 + static_cast<unsigned long>(peek() - '0');
            if (value > RulePattern::kLargestCount)
                fail(at, "a count above " + std::to_string(RulePattern::kLargestCount));
            ++position_;
        }
        if (position_ == start)
            return std::nullopt;
        return value;
    }

    std::string_view pattern_;
    std::size_t end_ = 0;
    std::size_t position_ = 0;
};

// Character by character, as the service reads a text; a byte that is not UTF-8 (never stored)
// stands for U+FFFD.
std::wstring characters(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const auto decoded = Utf8::nextCharacter(text, at)) {
            wide += static_cast<wchar_t>(*decoded);
        } else {
            wide += L'\uFFFD';
            ++at;
        }
    }
    return wide;
}

} // namespace

static_assert(sizeof(wchar_t) >= sizeof(char32_t), "a wide character holds any character");

RulePattern::RulePattern(Checked, std::wregex regex) : regex_(std::move(regex)) {}

std::shared_ptr<const RulePattern> RulePattern::compile(std::string_view pattern, std::string_view flags) {
    PatternChecker(pattern).check();
    // Matched breadth first, in time bounded by the text's length times the pattern's: the
    // standard library's default backtracking recurses once per character of the text, and a
    // long text written by any caller would overflow the stack. Nothing is captured.
    auto options = std::regex::ECMAScript | std::regex::nosubs | std::regex_constants::__polynomial;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        const std::size_t at = pattern.size() + 2 + i;
        if (flags[i] != 'i')
            throw RuleExpressionError(at, "unknown regular expression flag '" + std::string(1, flags[i]) +
                                              "'; the service knows i alone");
        if (flags.find('i') != i)
            throw RuleExpressionError(at, "the flag 'i' given twice");
        options |= std::regex::icase;
    }
    try {
        return std::make_shared<const RulePattern>(Checked(), std::wregex(characters(pattern), options));
    } catch (const std::regex_error &error) {
        throw RuleExpressionError(0, std::string("regular expression does not compile: ") + error.what());
    }
}

bool RulePattern::foundIn(std::string_view text) const {
    const std::wstring wide = characters(text);
    return std::regex_search(wide, regex_);
}

} // namespace TunewellCloud
