#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace TunewellCloud::Utf8 {

// The character at at, which is moved past it; none (at unmoved) for bytes that are not UTF-8:
// a bad sequence, an overlong form, a surrogate or a value past U+10FFFF.
std::optional<char32_t> nextCharacter(std::string_view text, std::size_t &at);

} // namespace TunewellCloud::Utf8
