#include "profile/ui/ProfileLog.h"

#include "profile/core/LogCut.h"

#include <QPlainTextEdit>
#include <array>
#include <string_view>

namespace Tunewell {

namespace {

// The beginnings of the lines the window cloud helpers write when something failed.
bool IsFailureLine(const std::string &Line) {
    static constexpr std::array<std::string_view, 3> kFailurePrefixes{"Post ", "Delete ",
                                                                      "Show RT Node failed: "};
    for (const auto Prefix : kFailurePrefixes)
        if (Line.starts_with(Prefix))
            return true;
    return false;
}

} // namespace

ProfileLog::ProfileLog(QPlainTextEdit &Memo) : fMemo(Memo), fLines(Memo) {}

void ProfileLog::AddLine(const std::string &Line) {
    if (IsFailureLine(Line))
        fLines.AddLine(SanitizeLogLine(QString::fromStdString(Line)).toStdString());
    else
        fLines.AddLine(Line);
}

void ProfileLog::Clear() {
    fLines.Clear();
}

QString ProfileLog::Text() const {
    return LogText(fMemo.toPlainText().split(QLatin1Char('\n')));
}

} // namespace Tunewell
