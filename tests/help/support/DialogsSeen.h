#pragma once

#include <QStringList>

namespace Tunewell::Testing {

class RecordingDialogs;

// What the windows showed and asked, one text per dialog: "message: TEXT", "error: TEXT",
// "ask: TEXT", "open: ADDRESS", "restart".
QStringList Seen(const RecordingDialogs &Dialogs);

} // namespace Tunewell::Testing
