#include "Cumulo/AsciiCase.h"

#include <algorithm>

namespace Cumulo {

namespace {
char LowerAsciiLetter(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}
} // namespace

std::string LowerAscii(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(), LowerAsciiLetter);
    return Text;
}

bool EqualsIgnoringAsciiCase(const std::string &A, const std::string &B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
               return LowerAsciiLetter(a) == LowerAsciiLetter(b);
           });
}

} // namespace Cumulo
