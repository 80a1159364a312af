#pragma once

#include <cstdint>
#include <span>

namespace Cumulo {

// Fills Bytes from the system's cryptographic source, for keys nobody may guess; throws
// std::system_error when it cannot.
void FillRandomBytes(std::span<std::uint8_t> Bytes);

} // namespace Cumulo
