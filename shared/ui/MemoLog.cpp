#include "shared/ui/MemoLog.h"

#include <QPlainTextEdit>

namespace Tunewell {

void MemoLog::AddLine(const std::string &Line) {
    Memo_.appendPlainText(QString::fromStdString(Line));
}

void MemoLog::Clear() {
    Memo_.clear();
}

} // namespace Tunewell
