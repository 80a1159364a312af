#pragma once

namespace TunewellCloud {

// The digits 0 to 9 only, whatever the locale: rules and paths are read as the service reads them.
bool isAsciiDigit(char c);

} // namespace TunewellCloud
