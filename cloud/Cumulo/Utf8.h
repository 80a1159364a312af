#pragma once

#include <string>
#include <string_view>

namespace Cumulo {

// The code point that starts at Pos, which moves past it. A malformed or truncated sequence
// yields U+FFFD and consumes one byte, so a walk over any bytes always ends.
char32_t NextCodePoint(std::string_view Text, std::size_t &Pos);

// A byte inside a character, never the first of one.
bool IsUtf8Continuation(char Byte);

void AppendUtf8(std::string &Out, char32_t CodePoint);

} // namespace Cumulo
