#pragma once

#include <QString>

namespace Tunewell {
class StatusNotice;
}

namespace Tunewell::Testing {

// Why a status bar notice's line cannot be read where it is shown; empty when it can: the
// notice is visible with room in its bar, draws the start of its line (the whole line, or a
// dozen characters at least before an ellipsis) within that room, and its tooltip holds the
// whole line.
QString NoticeUnreadable(const StatusNotice &Notice);

} // namespace Tunewell::Testing
