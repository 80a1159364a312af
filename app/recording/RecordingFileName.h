#pragma once

#include "app/recording/RecordingFormat.h"

#include <QDateTime>
#include <QString>

namespace Tunewell {

// Room for a name's text in UTF-8 bytes: with the time before it and the extension after, a file
// name stays within the 255 bytes the usual file systems allow.
inline constexpr int NameTextBytes = 200;

// Text made safe as one file or folder name on any file system the music folder may be on: no
// separators or characters other systems refuse, no control characters, no leading dots (a
// hidden file, "." or ".."), no trailing dots or blanks, no device name such as "CON", blanks
// run together, and cut at whole characters to MaxBytes of UTF-8. Empty when nothing is left.
QString SanitisedFileName(const QString &Text, int MaxBytes = NameTextBytes);

// "2026-05-01 21-04-59 Artist - Title.mp3"; without a title, the time alone.
QString RecordingFileName(const QDateTime &Start, const QString &Title, RecordingFormat Format);
// The station's folder under Tunewell/ in the music folder.
QString RecordingFolderName(const QString &Station);

} // namespace Tunewell
