#pragma once

#include <cstdint>

namespace TunewellCloud {

std::int64_t nowMilliseconds();
std::int64_t nowSeconds();

} // namespace TunewellCloud
