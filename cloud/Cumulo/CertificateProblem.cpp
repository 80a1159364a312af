#include "Cumulo/CertificateProblem.h"

namespace Cumulo {

ECertificate::ECertificate(TCertificateProblem Problem, std::string Host, const std::string &Message)
    : ETransport(Message), fProblem(Problem), fHost(std::move(Host)) {}

} // namespace Cumulo
