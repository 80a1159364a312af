#include "app/core/FileDialogFolder.h"

#include "app/core/PlayerSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Tunewell {

namespace {
bool IsFolder(const QString &Path) {
    return !Path.isEmpty() && QFileInfo(Path).isDir();
}
} // namespace

QString FileDialogFolderOf(const QString &LastUsed, const QString &DesktopFolder, const QString &Home) {
    if (IsFolder(LastUsed))
        return LastUsed;
    if (IsFolder(DesktopFolder))
        return DesktopFolder;
    return Home;
}

QString FileDialogFolder(FileDialogKind Kind) {
    const auto place =
        Kind == FileDialogKind::Playlist ? QStandardPaths::MusicLocation : QStandardPaths::DocumentsLocation;
    return FileDialogFolderOf(PlayerSettings().LastFolder(), QStandardPaths::writableLocation(place),
                              QDir::homePath());
}

void RememberFileDialogChoice(const QString &ChosenFile) {
    if (!ChosenFile.isEmpty())
        PlayerSettings().SetLastFolder(QFileInfo(ChosenFile).absolutePath());
}

} // namespace Tunewell
