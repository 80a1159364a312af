#pragma once

#include <QString>
#include <string_view>

namespace Tunewell {

// Text without leading and trailing characters up to U+0020 (blanks and control characters),
// the trim the windows' text rules are written against.
QString TrimBlanks(const QString &Text);
// The same trim of UTF-8 text, without a copy.
std::string_view TrimBlanks(std::string_view Text);

} // namespace Tunewell
