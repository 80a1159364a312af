#include "Cumulo/Utf8.h"

namespace Cumulo {

namespace {
constexpr char32_t kReplacement = 0xFFFD;
} // namespace

char32_t NextCodePoint(std::string_view Text, std::size_t &Pos) {
    const auto lead = static_cast<unsigned char>(Text[Pos]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++Pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        ++Pos;
        return kReplacement;
    }
    if (Pos + length > Text.size()) {
        ++Pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(Text[Pos + i]);
        if (!IsUtf8Continuation(static_cast<char>(byte))) {
            ++Pos;
            return kReplacement;
        }
        code = (code << 6) | (byte & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++Pos;
        return kReplacement;
    }
    Pos += length;
    return code;
}

bool IsUtf8Continuation(char Byte) {
    return (static_cast<unsigned char>(Byte) & 0xC0) == 0x80;
}

void AppendUtf8(std::string &Out, char32_t CodePoint) {
    if (CodePoint < 0x80) {
        Out += static_cast<char>(CodePoint);
    } else if (CodePoint < 0x800) {
        Out += static_cast<char>(0xC0 | (CodePoint >> 6));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else if (CodePoint < 0x10000) {
        Out += static_cast<char>(0xE0 | (CodePoint >> 12));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (CodePoint >> 18));
        Out += static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    }
}

} // namespace Cumulo
