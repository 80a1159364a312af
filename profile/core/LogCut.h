#pragma once

#include <QString>
#include <QStringList>

namespace Tunewell {

// The text of a window's log: every line followed by CR LF.
QString LogText(const QStringList &Lines);

// Cuts the profile ID out of the log text after a profile was created: the text between the
// first two double quotes after the first "}," (or after the log's first line). Empty when
// there is none. Only the creation answer may carry a double quote or "},", so every failure
// line must pass through SanitizeLogLine before it reaches the log.
QString ProfileIdFromLog(const QString &LogText);

// A failure line fit for the log: double quotes become single quotes and "}," becomes "} ,",
// so an error text cannot pose as the creation answer.
QString SanitizeLogLine(const QString &Line);

} // namespace Tunewell
