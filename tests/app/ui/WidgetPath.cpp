#include "WidgetPath.h"

#include <QStringList>
#include <QWidget>

namespace Tunewell::Testing {

QString WidgetPath(const QWidget *Widget) {
    QStringList Path;
    for (const QWidget *Each = Widget; Each; Each = Each->isWindow() ? nullptr : Each->parentWidget())
        Path.prepend(Each->objectName().isEmpty() ? QString::fromLatin1(Each->metaObject()->className())
                                                  : Each->objectName());
    return Path.join(QLatin1Char('/'));
}

} // namespace Tunewell::Testing
