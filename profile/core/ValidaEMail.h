#pragma once

#include <QString>

namespace Tunewell {

// Whether the profile window accepts EMailIn as an e-mail address. The empty text is
// accepted; the rules are deliberately shallow (nothing requires a point after the at sign).
bool ValidaEMail(const QString &EMailIn);

} // namespace Tunewell
