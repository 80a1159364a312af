#pragma once

#include "shared/core/WindowCloudLog.h"
#include "shared/ui/MemoLog.h"

#include <QString>

class QPlainTextEdit;

namespace Tunewell {

// The profile window's log memo. The profile ID is cut out of the log's text, so failure lines
// lose their double quotes and "}," on the way in: an error text cannot pose as the answer that
// carries the new profile's key.
class ProfileLog : public IWindowCloudLog {
public:
    explicit ProfileLog(QPlainTextEdit &Memo);
    void AddLine(const std::string &Line) override;
    void Clear() override;
    // The memo's lines joined as the log cut reads them.
    QString Text() const;

private:
    QPlainTextEdit &fMemo;
    MemoLog fLines;
};

} // namespace Tunewell
