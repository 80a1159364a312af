#include "shared/core/SettingsFile.h"

#include <QSettings>

namespace Tunewell {

std::unique_ptr<QSettings> OpenSettingsStore(const QString &xArquivo) {
    return std::make_unique<QSettings>("HKEY_CURRENT_USER\\" + xArquivo, QSettings::NativeFormat);
}

void KeepSettingsStorePrivate(const QSettings &) {}

} // namespace Tunewell
