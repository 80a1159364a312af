#include "NoticeShown.h"

#include "app/ui/StatusNotice.h"

#include <QFontMetrics>

namespace Tunewell::Testing {

namespace {

constexpr int LeastCharactersShown = 12;

} // namespace

QString NoticeUnreadable(const StatusNotice &Notice) {
    const QString &line = Notice.Line();
    if (!Notice.isVisible())
        return QStringLiteral("hidden");
    const QRect room = Notice.contentsRect();
    if (room.width() <= 0)
        return QStringLiteral("%1 px wide").arg(room.width());
    if (Notice.parentWidget() && !Notice.parentWidget()->rect().contains(Notice.geometry()))
        return QStringLiteral("outside its bar");
    QString drawn = Notice.text();
    if (Notice.fontMetrics().horizontalAdvance(drawn) > room.width())
        return QStringLiteral("\"%1\" is wider than its %2 px").arg(drawn).arg(room.width());
    if (drawn != line) {
        if (!drawn.endsWith(QChar(0x2026)))
            return QStringLiteral("draws \"%1\" for \"%2\"").arg(drawn, line);
        drawn.chop(1);
        if (!line.startsWith(drawn) || drawn.size() < std::min<qsizetype>(LeastCharactersShown, line.size()))
            return QStringLiteral("draws \"%1…\" of \"%2\"").arg(drawn, line);
    }
    if (!Notice.toolTip().contains(line))
        return QStringLiteral("the tooltip \"%1\" lacks \"%2\"").arg(Notice.toolTip(), line);
    return {};
}

} // namespace Tunewell::Testing
