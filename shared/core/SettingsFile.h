#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace Tunewell {

// The platform's store for one xArquivo: the native registry on Windows, a per-user file
// elsewhere.
std::unique_ptr<QSettings> OpenSettingsStore(const QString &xArquivo);

} // namespace Tunewell
