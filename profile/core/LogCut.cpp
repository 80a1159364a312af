#include "profile/core/LogCut.h"

#include "shared/core/TrimBlanks.h"

namespace Tunewell {

QString LogText(const QStringList &Lines) {
    QString text;
    for (const auto &line : Lines) {
        text += line + "\r\n";
    }
    return text;
}

QString ProfileIdFromLog(const QString &LogText) {
    const qsizetype length = TrimBlanks(LogText).size();
    const QString s = LogText.mid(1, std::max<qsizetype>(length - 1, 0));
    const qsizetype p = s.indexOf("},") + 1;
    // When p is 0 this passes over the seven characters of the log's first line.
    const QString rest = s.mid(p + 6);
    const qsizetype open = rest.indexOf('"');
    const qsizetype close = open < 0 ? -1 : rest.indexOf('"', open + 1);
    return close < 0 ? QString() : rest.mid(open + 1, close - open - 1);
}

QString SanitizeLogLine(const QString &Line) {
    QString safe = Line;
    safe.replace('"', '\'');
    safe.replace("},", "} ,");
    return safe;
}

} // namespace Tunewell
