#include "shared/core/SettingsFile.h"

#include <QSettings>

namespace Tunewell {

QString SettingsStoreLocation(const QString &xArquivo) {
    return OpenSettingsStore(xArquivo)->fileName();
}

} // namespace Tunewell
