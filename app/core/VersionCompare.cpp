#include "app/core/VersionCompare.h"

namespace Tunewell {

bool NewerVersionPublished(std::string_view Own, std::string_view Published) {
    // Byte order of UTF-8 is character code order.
    return Own.compare(Published) < 0;
}

} // namespace Tunewell
