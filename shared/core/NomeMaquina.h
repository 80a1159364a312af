#pragma once

#include <string>

namespace Tunewell {

inline constexpr int MAX_COMPUTER_LENGTH = 30;

// The computer name (UTF-8), or empty when it cannot be read or is longer than
// MAX_COMPUTER_LENGTH characters.
std::string NomeMaquina();

} // namespace Tunewell
