#pragma once

#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

namespace TunewellCloud {

// A certificate that cannot be made or read, or a key that is not the certificate's.
class CertificateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A certificate and its private key, as PEM text.
struct CertifiedKey {
    std::string certificate;
    std::string key;
};

// The validity of a certificate, in seconds since 1970.
struct Validity {
    std::time_t notBefore = 0;
    std::time_t notAfter = 0;
};

namespace Certificates {

// A certificate authority of its own: a new P-256 key and a self-signed certificate for it. With
// permitted names (IPv4 addresses or host names), a critical name constraint lets it vouch for
// those alone.
CertifiedKey makeAuthority(const std::string &commonName, Validity validity,
                           const std::vector<std::string> &permittedNames = {});
// A server certificate for the names (IP addresses or host names, the first also its common
// name) with a new P-256 key, signed by the authority.
CertifiedKey issueServer(const CertifiedKey &authority, const std::vector<std::string> &names,
                         Validity validity);
// Throws CertificateError unless the certificate reads and the key is its own.
void checkPair(const CertifiedKey &pair);
Validity validityOf(const std::string &certificate);
// True when the authority's key signed the certificate.
bool signedBy(const std::string &certificate, const std::string &authority);
// True when the authority carries a critical name constraint.
bool nameConstrained(const std::string &authority);
// True when the certificate names the IP address or host name.
bool names(const std::string &certificate, const std::string &name);

} // namespace Certificates

} // namespace TunewellCloud
