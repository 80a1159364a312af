#include "shared/core/WindowCloudFailure.h"

namespace Tunewell {

ECloudFailure::ECloudFailure(TKind Kind, std::string Host, std::string Reason, std::string Path,
                             std::optional<Cumulo::TCertificateProblem> Certificate)
    : std::runtime_error(Kind == TKind::NotSignedIn ? "Not signed in: " + Reason : Reason), Kind_(Kind),
      Host_(std::move(Host)), Reason_(std::move(Reason)), Path_(std::move(Path)), Certificate_(Certificate) {}

} // namespace Tunewell
