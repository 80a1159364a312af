#pragma once

#include "TunewellCloud/Certificates.h"
#include "TunewellCloud/TlsOptions.h"

#include <filesystem>
#include <httplib.h>
#include <memory>
#include <optional>

namespace TunewellCloud {

namespace HttpServers {

// The certificate and key HTTPS is served with, nothing for plain HTTP; throws CertificateError
// for files that do not read or do not belong together.
std::optional<CertifiedKey> credentials(const TlsOptions &tls, const std::filesystem::path &dataFolder);
// A plain HTTP server, or with credentials an HTTPS one: TLS 1.2 or newer, HTTP/1.1 by ALPN, and
// over a Unix socket for this server's own user only.
std::unique_ptr<httplib::Server> make(const std::optional<CertifiedKey> &credentials);
// "https" or "http", as the addresses a server prints begin.
const char *scheme(const TlsOptions &tls);

} // namespace HttpServers

} // namespace TunewellCloud
