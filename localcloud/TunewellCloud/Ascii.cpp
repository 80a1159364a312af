#include "TunewellCloud/Ascii.h"

namespace TunewellCloud {

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace TunewellCloud
