#pragma once

#include "Cumulo/CertificateProblem.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace Tunewell {

// Why a window's cloud read failed, told by the client's exception types: an unreachable cloud
// (no answer at all) is not a refusal, and the user is told different things.
class ECloudFailure : public std::runtime_error {
public:
    enum class TKind {
        // No answer (connection refused, name resolution, TLS, time-out), or an answer that the
        // service is unavailable now (5xx, 408, 429).
        Unreachable,
        // The window could not sign in, for a reason other than an unreachable cloud.
        NotSignedIn,
        // The cloud answered the read with an error.
        Refused,
    };

    // The message is the client's own text (after "Not signed in: " for NotSignedIn).
    ECloudFailure(TKind Kind, std::string Host, std::string Reason, std::string Path = {},
                  std::optional<Cumulo::TCertificateProblem> Certificate = {});

    TKind Kind() const { return Kind_; }
    // Where the cloud was sought ("host" or "host:port").
    const std::string &Host() const { return Host_; }
    // The client's own text.
    const std::string &Reason() const { return Reason_; }
    // The node that was being read, empty when no read was sent.
    const std::string &Path() const { return Path_; }
    // Why the cloud's certificate was refused, when that made it unreachable.
    const std::optional<Cumulo::TCertificateProblem> &Certificate() const { return Certificate_; }

private:
    TKind Kind_;
    std::string Host_;
    std::string Reason_;
    std::string Path_;
    std::optional<Cumulo::TCertificateProblem> Certificate_;
};

} // namespace Tunewell
