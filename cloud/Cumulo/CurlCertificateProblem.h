#pragma once

#include "Cumulo/CertificateProblem.h"

#include <curl/curl.h>
#include <optional>
#include <string>

namespace Cumulo {

// The certificate problem that ended a transfer with Result, or none when it ended otherwise.
std::optional<TCertificateProblem> CertificateProblemOf(CURL *Handle, CURLcode Result);
// The failure to raise for a transfer that ended with Result, when its peer's certificate was
// refused: its problem, the peer it was asked of ("host" or "host:port", as written), and Message.
std::optional<ECertificate> CertificateFailureOf(CURL *Handle, CURLcode Result, const std::string &Message);

} // namespace Cumulo
