#include "shared/ui/WindowFonts.h"

#include "shared/ui/WindowFont.h"

#include <QApplication>
#include <QFontDatabase>

namespace Tunewell {

bool UseTahoma(const QString &Folder) {
    // Only the regular face: the package's tahomabd.ttf has the bold widths but regular-weight
    // outlines, so bold captions would look letter-spaced rather than bold. Bold is drawn from the
    // regular face instead, a little narrower than the layouts allow for.
    const bool Loaded = QFontDatabase::addApplicationFont(Folder + QStringLiteral("/tahoma.ttf")) >= 0;
    QApplication::setFont(WindowFont());
    return Loaded;
}

} // namespace Tunewell
