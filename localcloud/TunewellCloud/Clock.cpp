#include "TunewellCloud/Clock.h"

#include <chrono>

namespace TunewellCloud {

std::int64_t nowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::int64_t nowSeconds() {
    return nowMilliseconds() / 1000;
}

} // namespace TunewellCloud
