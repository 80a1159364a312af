#include "TunewellCloud/OwnerAccess.h"

namespace TunewellCloud {

OwnerAccess::Claim OwnerAccess::claim(const httplib::Request &request) const {
    if (request.get_header_value("Authorization") != "Bearer owner")
        return Claim::None;
    return enabled_ ? Claim::Owner : Claim::Refused;
}

} // namespace TunewellCloud
