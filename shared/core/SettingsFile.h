#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace Tunewell {

// The platform's store for one xArquivo: the native registry on Windows, a per-user file
// elsewhere.
std::unique_ptr<QSettings> OpenSettingsStore(const QString &xArquivo);

// Before a write: the store is for the user alone, as it holds the profile's ID. A file is made
// with mode 0600 and an existing one tightened to it, so the temporary it is written through
// keeps that mode; the registry's per-user key needs nothing.
void KeepSettingsStorePrivate(const QSettings &Store);

// Where that store lives, as the platform names it (a file path, or the registry key on Windows).
QString SettingsStoreLocation(const QString &xArquivo);

} // namespace Tunewell
