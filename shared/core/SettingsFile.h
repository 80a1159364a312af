#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace Tunewell {

// The platform's store for one xArquivo: the native registry on Windows, a per-user file
// elsewhere.
std::unique_ptr<QSettings> OpenSettingsStore(const QString &xArquivo);

// Where that store lives, as the platform names it (a file path, or the registry key on Windows).
QString SettingsStoreLocation(const QString &xArquivo);

} // namespace Tunewell
