#include "profile/core/ValidaEMail.h"

#include <cstdlib>

namespace Tunewell {

namespace {

// Characters that never appear in an address the profile window accepts.
const char16_t CaraEsp[] =
    u"!#$%\u00A8&*()+=\u00A7\u00AC\u00A2\u00B9\u00B2\u00B3\u00A3\u00B4`\u00E7\u00C7,;:<>~^?/|[]{}"
    u"\u00BA\u00AA\u00B0";

// 1-based position of the first occurrence; 0 when absent.
qsizetype Pos(const QString &Needle, const QString &Text) {
    return Text.indexOf(Needle) + 1;
}

bool Neighbours(qsizetype Left, qsizetype Right) {
    return std::abs(Left - Right) == 1;
}

} // namespace

bool ValidaEMail(const QString &EMailIn) {
    if (EMailIn.isEmpty()) {
        return true;
    }
    const qsizetype length = EMailIn.size();
    const qsizetype at = Pos("@", EMailIn);
    const qsizetype dot = Pos(".", EMailIn);
    if (at == 0 || dot == 0) {
        return false;
    }
    if (at == 1 || at == length || dot == 1 || dot == length) {
        return false;
    }
    if (EMailIn.contains(' ') || Neighbours(at, dot)) {
        return false;
    }
    for (const char16_t *special = CaraEsp; *special; ++special) {
        if (EMailIn.contains(QChar(*special))) {
            return false;
        }
    }
    if (EMailIn.contains("..") || EMailIn.count('@') >= 2 || EMailIn.endsWith('.')) {
        return false;
    }
    const QChar first = EMailIn.front();
    if (first == '.' || first == '_' || first == '-') {
        return false;
    }
    if (Pos("com", EMailIn) - at == 1 || Neighbours(Pos("-", EMailIn), at) ||
        Neighbours(Pos("_", EMailIn), at)) {
        return false;
    }
    return true;
}

} // namespace Tunewell
