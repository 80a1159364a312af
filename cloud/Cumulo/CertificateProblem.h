#pragma once

#include "Cumulo/Exceptions.h"

#include <string>

namespace Cumulo {

// Why a peer's certificate was refused.
enum class TCertificateProblem {
    // Signed by no authority this computer trusts (a self-made one, or a missing CA file).
    UnknownAuthority,
    // Made out for another host than the one asked for.
    WrongHost,
    // Expired, or not valid yet (a computer clock far off says the same).
    Expired,
    // Any other refusal: revoked, unfit for a server, malformed.
    Refused,
};

// A transport failure because the peer's certificate was refused. It is never answered by
// trying again without TLS.
class ECertificate : public ETransport {
public:
    // Message: the transport's own text; Host: "host:port" as asked for.
    ECertificate(TCertificateProblem Problem, std::string Host, const std::string &Message);

    TCertificateProblem Problem() const { return fProblem; }
    const std::string &Host() const { return fHost; }

private:
    TCertificateProblem fProblem;
    std::string fHost;
};

} // namespace Cumulo
