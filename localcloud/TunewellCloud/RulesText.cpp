#include "TunewellCloud/RulesText.h"

#include "TunewellCloud/Ascii.h"
#include "TunewellCloud/Json.h"
#include "TunewellCloud/WriteRules.h"

#include <set>
#include <tuple>

namespace TunewellCloud {

namespace {

// Far deeper than any rules file needs, and shallow enough for the parser's recursion.
constexpr int kDeepestRulesNesting = 64;

bool startsHighSurrogate(std::string_view hex) {
    return hex.size() == 4 && (hex[0] == 'd' || hex[0] == 'D') &&
           std::string_view("89abAB").find(hex[1]) != std::string_view::npos;
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    RulesValue document() {
        skipBlanks();
        RulesValue value = this->value(0);
        skipBlanks();
        if (position_ < text_.size())
            fail("unexpected text after the end of the rules");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string &message) const { throw RulesSyntaxError(here(), message); }
    TextPosition here() const { return {line_, column_}; }
    bool atEnd() const { return position_ >= text_.size(); }
    char peek(std::size_t ahead = 0) const {
        return position_ + ahead < text_.size() ? text_[position_ + ahead] : '\0';
    }

    void advance() {
        if (text_[position_] == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
        ++position_;
    }

    void skipBlanks() {
        while (!atEnd()) {
            const char c = peek();
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                advance();
            } else if (c == '/' && peek(1) == '/') {
                while (!atEnd() && peek() != '\n')
                    advance();
            } else if (c == '/' && peek(1) == '*') {
                const TextPosition start = here();
                advance();
                advance();
                while (!(peek() == '*' && peek(1) == '/')) {
                    if (atEnd())
                        throw RulesSyntaxError(start, "comment not closed");
                    advance();
                }
                advance();
                advance();
            } else {
                return;
            }
        }
    }

    void expect(char wanted) {
        if (peek() != wanted || atEnd())
            fail(std::string("expected '") + wanted + "'");
        advance();
    }

    RulesValue value(int depth) {
        if (depth > kDeepestRulesNesting)
            fail("nested more than " + std::to_string(kDeepestRulesNesting) + " levels deep");
        if (atEnd())
            fail("unexpected end of the rules");
        const char c = peek();
        if (c == '{')
            return object(depth);
        if (c == '[')
            return array(depth);
        if (c == '"')
            return string();
        if (c == '-' || isAsciiDigit(c))
            return number();
        for (const auto &[word, kind, truth] : {std::tuple{"true", RulesValue::Kind::Boolean, true},
                                                std::tuple{"false", RulesValue::Kind::Boolean, false},
                                                std::tuple{"null", RulesValue::Kind::Null, false}}) {
            const std::string_view literal(word);
            if (text_.substr(position_, literal.size()) == literal) {
                RulesValue value;
                value.kind = kind;
                value.at = here();
                value.boolean = truth;
                for (std::size_t i = 0; i < literal.size(); ++i)
                    advance();
                return value;
            }
        }
        fail("unexpected character '" + std::string(1, c) + "'");
    }

    RulesValue object(int depth) {
        RulesValue object;
        object.kind = RulesValue::Kind::Object;
        object.at = here();
        advance();
        skipBlanks();
        std::set<std::string, std::less<>> keys;
        if (peek() == '}') {
            advance();
            return object;
        }
        for (;;) {
            skipBlanks();
            if (peek() != '"')
                fail("expected a member name in double quotes");
            RulesValue key = string();
            if (!keys.insert(key.text).second)
                throw RulesSyntaxError(key.at, "\"" + key.text + "\" is given twice");
            skipBlanks();
            expect(':');
            skipBlanks();
            object.members.push_back({std::move(key.text), key.at, value(depth + 1)});
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect('}');
            return object;
        }
    }

    RulesValue array(int depth) {
        RulesValue array;
        array.kind = RulesValue::Kind::Array;
        array.at = here();
        advance();
        skipBlanks();
        if (peek() == ']') {
            advance();
            return array;
        }
        for (;;) {
            skipBlanks();
            array.elements.push_back(value(depth + 1));
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect(']');
            return array;
        }
    }

    RulesValue string() {
        RulesValue string;
        string.kind = RulesValue::Kind::String;
        string.at = here();
        advance();
        while (peek() != '"') {
            if (atEnd())
                throw RulesSyntaxError(string.at, "text not closed with a double quote");
            const auto byte = static_cast<unsigned char>(peek());
            if (byte < 0x20)
                fail("a control character must be escaped inside a text");
            const int column = column_;
            const std::size_t before = string.text.size();
            if (byte != '\\') {
                string.text += static_cast<char>(byte);
                advance();
            } else {
                advance();
                const char escaped = peek();
                if (atEnd())
                    fail("unfinished escape");
                static const std::string_view plain = "\"\\/bfnrt";
                static const std::string_view meant = "\"\\/\b\f\n\r\t";
                if (const auto found = plain.find(escaped); found != std::string_view::npos) {
                    string.text += meant[found];
                    advance();
                } else if (escaped == 'u') {
                    // The JSON library decodes the escape, a surrogate pair as one character.
                    const std::size_t start = position_ - 1;
                    const bool pair = startsHighSurrogate(text_.substr(start + 2, 4)) &&
                                      text_.substr(start + 6, 2) == "\\u";
                    const std::size_t length = pair ? 12 : 6;
                    const Json decoded =
                        Json::parse("\"" + std::string(text_.substr(start, length)) + "\"", nullptr, false);
                    if (decoded.is_discarded())
                        fail("\\u needs four hexadecimal digits, and surrogates come in pairs");
                    string.text += decoded.get_ref<const std::string &>();
                    for (std::size_t i = 1; i < length; ++i)
                        advance();
                } else {
                    fail("unknown escape \\" + std::string(1, escaped));
                }
            }
            string.columns.insert(string.columns.end(), string.text.size() - before, column);
        }
        string.columns.push_back(column_);
        advance();
        if (!WriteRules::validUtf8(string.text))
            throw RulesSyntaxError(string.at, "text is not UTF-8");
        return string;
    }

    RulesValue number() {
        RulesValue number;
        number.kind = RulesValue::Kind::Number;
        number.at = here();
        const std::size_t start = position_;
        if (peek() == '-')
            advance();
        if (!isAsciiDigit(peek()))
            fail("expected a digit");
        if (peek() == '0') {
            advance();
        } else {
            while (isAsciiDigit(peek()))
                advance();
        }
        if (peek() == '.') {
            advance();
            if (!isAsciiDigit(peek()))
                fail("expected a digit after the decimal point");
            while (isAsciiDigit(peek()))
                advance();
        }
        if (peek() == 'e' || peek() == 'E') {
            advance();
            if (peek() == '+' || peek() == '-')
                advance();
            if (!isAsciiDigit(peek()))
                fail("expected a digit in the exponent");
            while (isAsciiDigit(peek()))
                advance();
        }
        number.text = std::string(text_.substr(start, position_ - start));
        return number;
    }

    std::string_view text_;
    std::size_t position_ = 0;
    int line_ = 1;
    int column_ = 1;
};

} // namespace

RulesSyntaxError::RulesSyntaxError(TextPosition at, const std::string &message)
    : std::runtime_error(message), at_(at) {}

TextPosition RulesValue::positionOf(std::size_t offset) const {
    if (columns.empty())
        return at;
    return {at.line, columns[std::min(offset, columns.size() - 1)]};
}

RulesValue parseRulesText(std::string_view text) {
    return Reader(text).document();
}

} // namespace TunewellCloud
