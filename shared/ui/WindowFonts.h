#pragma once

#include <QString>

namespace Tunewell {

// Debian's fonts-wine: a Tahoma with the metrics of the font the window layouts were measured with.
inline constexpr const char *kTahomaFolder = "/usr/share/wine/fonts";

// Registers Folder's tahoma.ttf with the application's font database, so that WindowFont finds
// "Tahoma", and makes WindowFont() the application's font: a theme's style sheet keeps a window's
// own font from reaching the controls inside its panels, so they take the application's. False
// when the file is missing or unreadable: everything then uses the platform's sans font.
bool UseTahoma(const QString &Folder = QString::fromLatin1(kTahomaFolder));

} // namespace Tunewell
