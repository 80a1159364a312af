#pragma once

#include "Cumulo/CertificateProblem.h"

#include <ctime>
#include <optional>
#include <string>

namespace Tunewell {

// What the main window tells the user when the cloud fails its start-up: what happened and
// what the user can do, in English and then in Portuguese (UTF-8). Host is where the cloud was
// sought; Reason the client's own text, given once since it is in English anyway.

// One status-bar line while the catalogue kept on ReadAt is shown: the cloud unreachable, or, with
// a certificate problem, its certificate not trusted.
std::string KeptCatalogueStatusText(std::time_t ReadAt, bool CertificateRefused = false);
// One status-bar line while the catalogue kept on ReadAt is shown and the cloud has not answered
// yet, and what it means.
std::string KeptCatalogueWaitingStatusText(std::time_t ReadAt);
std::string KeptCatalogueWaitingText(std::time_t ReadAt);
// One status-bar line while the catalogue kept on ReadAt stays shown after the cloud refused.
std::string KeptCatalogueRefusedStatusText(std::time_t ReadAt);
// One status-bar line while the program's own local cloud is being started, and what it means.
std::string LocalCloudStartingStatusText();
std::string LocalCloudStartingText();
// One status-bar line when the cloud is unreachable, or its certificate not trusted, and nothing
// could be shown.
std::string NothingKeptStatusText(bool CertificateRefused = false);
// The cloud is unreachable and the catalogue kept on ReadAt is shown. With Certificate, the cloud
// answered but its certificate was refused, for that reason.
std::string UnreachableKeptText(const std::string &Host, const std::string &Reason, std::time_t ReadAt,
                                const std::optional<Cumulo::TCertificateProblem> &Certificate = {});
// The cloud is unreachable and no usable catalogue is kept; Problem says why a kept file was
// set aside, empty when there was none. Certificate as above.
std::string UnreachableNothingKeptText(const std::string &Host, const std::string &Reason,
                                       const std::string &Problem,
                                       const std::optional<Cumulo::TCertificateProblem> &Certificate = {});
// The cloud answered but refused the window's sign-in.
std::string SignInRefusedText(const std::string &Host, const std::string &Reason);
// The cloud refused to read a node, or its answer could not be used.
std::string ReadRefusedText(const std::string &Host, const std::string &Path, const std::string &Reason);

} // namespace Tunewell
