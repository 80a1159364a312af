#include "Player/PlaylistKind.h"

#include <QStringList>
#include <QUrl>

namespace Player {

bool isPlaylistAddress(const QString &url) {
    // The query and fragment are not part of the file name ("list.pls?sid=1").
    const QString path = QUrl(url.trimmed()).path();
    return path.endsWith(QLatin1String(".pls"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive);
}

bool isPlaylistContentType(const QString &contentType) {
    static const QStringList playlistTypes = {"audio/x-scpls", "audio/scpls", "application/pls+xml",
                                              "audio/x-mpegurl", "audio/mpegurl"};
    const QString type = contentType.section(';', 0, 0).trimmed().toLower();
    return playlistTypes.contains(type);
}

} // namespace Player
