#pragma once

#include <string>

namespace Cumulo {

// Letter case of the ASCII letters only: header names, charset names, service error texts.
std::string LowerAscii(std::string Text);
bool EqualsIgnoringAsciiCase(const std::string &A, const std::string &B);

} // namespace Cumulo
