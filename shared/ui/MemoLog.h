#pragma once

#include "shared/core/WindowCloudLog.h"

class QPlainTextEdit;

namespace Tunewell {

// A window's log memo memRTDB as the sink of its cloud helpers.
class MemoLog : public IWindowCloudLog {
public:
    explicit MemoLog(QPlainTextEdit &Memo) : Memo_(Memo) {}
    void AddLine(const std::string &Line) override;
    void Clear() override;

private:
    QPlainTextEdit &Memo_;
};

} // namespace Tunewell
