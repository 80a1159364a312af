#pragma once

#include <httplib.h>

namespace TunewellCloud {

// The project administrator's door, "Authorization: Bearer owner", which the security rules do not
// bind and which names accounts by localId. It exists only in a cloud started with --owner-access
// (tests and development scripts); elsewhere that header is a credential that does not parse.
class OwnerAccess {
public:
    enum class Claim {
        None,    // the request does not claim to be the owner's
        Owner,   // it is the owner's
        Refused, // it claims so in a cloud without the door: an invalid credential
    };

    explicit OwnerAccess(bool enabled) : enabled_(enabled) {}
    bool enabled() const { return enabled_; }
    Claim claim(const httplib::Request &request) const;

private:
    bool enabled_;
};

} // namespace TunewellCloud
