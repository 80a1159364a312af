#pragma once

#include "TunewellCloud/Certificates.h"

#include <ctime>
#include <filesystem>

namespace TunewellCloud {

// A data folder's own certificate authority, ca.pem (its key in ca-key.pem), and the server
// certificate for 127.0.0.1 and localhost it signed, server.pem (its key in server-key.pem); the
// keys are readable by their owner only. Made at first use; made anew when expired or close to
// it, and the server certificate also when it is not the authority's or names another host. The
// authority is name-constrained to 127.0.0.1 and localhost (one of an earlier version without the
// constraint is made anew). Clients that trust ca.pem trust every server of the folder, the
// cloud's and the demo radio's, and nothing else.
class FolderCertificates {
public:
    static constexpr int kAuthorityDays = 3650;
    static constexpr int kServerDays = 365;
    // A certificate with less time left is renewed at the next start.
    static constexpr int kRenewalDays = 30;

    // The server certificate and key, after making what is missing or due. Servers of one folder
    // may start together: they take turns.
    static CertifiedKey ensure(const std::filesystem::path &folder, std::time_t now = std::time(nullptr));
    static std::filesystem::path authorityFile(const std::filesystem::path &folder);
};

} // namespace TunewellCloud
