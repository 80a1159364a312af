#include "app/core/StreamTitleParts.h"

namespace Tunewell {

StreamTitleParts SplitStreamTitle(const QString &NowPlaying) {
    const QString text = NowPlaying.trimmed();
    const QString separator = QStringLiteral(" - ");
    const qsizetype at = text.indexOf(separator);
    if (at < 0)
        return {QString(), text};
    const QString artist = text.left(at).trimmed();
    const QString title = text.mid(at + separator.size()).trimmed();
    if (artist.isEmpty() || title.isEmpty())
        return {QString(), text};
    return {artist, title};
}

} // namespace Tunewell
