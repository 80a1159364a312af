#include "shared/core/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tunewell {

std::unique_ptr<QSettings> OpenSettingsStore(const QString &xArquivo) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(folder + "/" + xArquivo + ".ini", QSettings::IniFormat);
}

void KeepSettingsStorePrivate(const QSettings &Store) {
    const QByteArray path = QFile::encodeName(Store.fileName());
    QDir().mkpath(QFileInfo(Store.fileName()).absolutePath());
    const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (file >= 0) {
        ::fchmod(file, 0600);
        ::close(file);
    }
}

} // namespace Tunewell
