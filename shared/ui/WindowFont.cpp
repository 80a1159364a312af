#include "shared/ui/WindowFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace Tunewell {

QFont WindowFont(int PointSize, bool Bold) {
    const QString tahoma = QStringLiteral("Tahoma");
    QFont font = QFontDatabase::families().contains(tahoma)
                     ? QFont(tahoma)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(PointSize);
    font.setBold(Bold);
    return font;
}

} // namespace Tunewell
