#pragma once

#include <QString>

namespace Tunewell {

// What a file dialog is for: playlists (import, export) or other documents (a saved history).
enum class FileDialogKind { Playlist, Document };

// The folder a file dialog opens in: the one last used (kept in the settings store) while it
// exists, else the desktop's music folder for playlists and its documents folder otherwise, else
// the home folder; never the process's working folder, which is wherever the program was started.
QString FileDialogFolder(FileDialogKind Kind);

// Keeps the folder of a file the listener chose, for the next dialog of any kind.
void RememberFileDialogChoice(const QString &ChosenFile);

// The rule itself, given the folder last used (may be empty) and the desktop's folder for Kind.
QString FileDialogFolderOf(const QString &LastUsed, const QString &DesktopFolder, const QString &Home);

} // namespace Tunewell
