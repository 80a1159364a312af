#include "shared/core/SettingsFile.h"

#include <QSettings>
#include <QStandardPaths>

namespace Tunewell {

std::unique_ptr<QSettings> OpenSettingsStore(const QString &xArquivo) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(folder + "/" + xArquivo + ".ini", QSettings::IniFormat);
}

} // namespace Tunewell
