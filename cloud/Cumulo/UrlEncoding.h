#pragma once

#include <string>
#include <string_view>

namespace Cumulo {

// The one URL-encoding rule of the cloud client: letters, digits and !$'()*-.@_ stay, a space
// becomes "+", every other byte (UTF-8 bytes of non-ASCII characters included) becomes "%XX"
// with upper-case hexadecimal digits.
std::string URLEncode(std::string_view Text);

} // namespace Cumulo
