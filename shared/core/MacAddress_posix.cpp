#include "shared/core/MacAddress.h"

namespace Tunewell {

std::string getMacAddress() {
    return FirstPhysicalAdapterAddress("/sys/class/net");
}

} // namespace Tunewell
