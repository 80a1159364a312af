#pragma once

#include <QString>

namespace Tunewell {

// Text without leading and trailing characters up to U+0020 (blanks and control characters),
// the trim the windows' text rules are written against.
QString TrimBlanks(const QString &Text);

} // namespace Tunewell
