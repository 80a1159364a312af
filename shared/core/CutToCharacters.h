#pragma once

#include <string_view>

namespace Tunewell {

// The first Count characters of UTF-8 text (all of it when shorter), never cut inside a character.
std::string_view CutToCharacters(std::string_view Text, int Count);

} // namespace Tunewell
