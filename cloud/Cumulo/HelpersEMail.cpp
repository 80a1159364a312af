#include "Cumulo/Helpers.h"
#include "Cumulo/Utf8.h"

#include <clocale>
#include <cwctype>
#ifndef _WIN32
#include <locale.h>
#include <wctype.h>
#endif
#include <string_view>
#include <vector>

namespace Cumulo {

namespace {

enum class TEMailState {
    Start,
    LocalAtom,
    Quoted,
    QuotedEscape,
    AfterQuote,
    LocalDot,
    DomainStart,
    DomainLabel,
    AfterHyphen
};

bool IsAtomChar(char32_t c) {
    static constexpr std::u32string_view kSpecials = U"()<>@,;:\\/\".[]\x7F";
    return c >= 0x21 && c <= 0xFF && kSpecials.find(c) == std::u32string_view::npos;
}

bool IsQuotedStringChar(char32_t c) {
    return c < 0xFF && c != '"' && c != '\r' && c != '\\';
}

#ifndef _WIN32
// Unicode classification that does not depend on the process's locale.
locale_t UnicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}
#endif

bool UnicodeIsAlpha(char32_t c) {
#ifndef _WIN32
    if (const locale_t locale = UnicodeLocale())
        return iswalpha_l(static_cast<wint_t>(c), locale) != 0;
#endif
    return std::iswalpha(static_cast<wint_t>(c)) != 0;
}

bool UnicodeIsAlnum(char32_t c) {
#ifndef _WIN32
    if (const locale_t locale = UnicodeLocale())
        return iswalnum_l(static_cast<wint_t>(c), locale) != 0;
#endif
    return std::iswalnum(static_cast<wint_t>(c)) != 0;
}

bool IsLetter(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return UnicodeIsAlpha(c);
}

bool IsLetterOrDigit(char32_t c) {
    if (c < 0x80)
        return IsLetter(c) || (c >= '0' && c <= '9');
    return UnicodeIsAlnum(c);
}

std::vector<char32_t> CodePoints(const std::string &Text) {
    std::vector<char32_t> points;
    std::size_t pos = 0;
    while (pos < Text.size())
        points.push_back(NextCodePoint(Text, pos));
    return points;
}

} // namespace

bool TFirebaseHelpers::IsEMailAdress(const std::string &EMail) {
    const std::vector<char32_t> text = CodePoints(EMail);
    TEMailState state = TEMailState::Start;
    int labels = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        switch (state) {
        case TEMailState::Start:
            if (IsAtomChar(c))
                state = TEMailState::LocalAtom;
            else if (c == '"')
                state = TEMailState::Quoted;
            else
                return false;
            break;
        case TEMailState::LocalAtom:
            if (c == '@')
                state = TEMailState::DomainStart;
            else if (c == '.')
                state = TEMailState::LocalDot;
            else if (!IsAtomChar(c))
                return false;
            break;
        case TEMailState::Quoted:
            if (c == '\\')
                state = TEMailState::QuotedEscape;
            else if (c == '"')
                state = TEMailState::AfterQuote;
            else if (!IsQuotedStringChar(c))
                return false;
            break;
        case TEMailState::QuotedEscape:
            state = TEMailState::Quoted;
            break;
        case TEMailState::AfterQuote:
            if (c == '@')
                state = TEMailState::DomainStart;
            else if (c == '.')
                state = TEMailState::LocalDot;
            else
                return false;
            break;
        case TEMailState::LocalDot:
            if (IsAtomChar(c))
                state = TEMailState::LocalAtom;
            else if (c == '"')
                state = TEMailState::Quoted;
            else
                return false;
            break;
        case TEMailState::DomainStart:
            if (IsLetter(c))
                state = TEMailState::DomainLabel;
            else
                return false;
            break;
        case TEMailState::DomainLabel:
            if (c == '.') {
                state = TEMailState::DomainStart;
                ++labels;
            } else if (c == '-') {
                state = TEMailState::AfterHyphen;
            } else if (!IsLetterOrDigit(c)) {
                // Any other character ends the walk; it is accepted only as the very last one.
                return i + 1 == text.size() && labels >= 2;
            }
            break;
        case TEMailState::AfterHyphen:
            if (IsLetterOrDigit(c))
                state = TEMailState::DomainLabel;
            else if (c != '-')
                return false;
            break;
        }
    }
    return state == TEMailState::DomainLabel && labels >= 2;
}

} // namespace Cumulo
