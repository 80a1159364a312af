#pragma once

#include <QString>

namespace Tunewell {

// A now-playing title cut into its artist and title when it has the usual "Artist - Title" form.
struct StreamTitleParts {
    // Empty when the title does not name one.
    QString Artist;
    QString Title;
};

// Cut at the first " - " with text on both sides; otherwise the whole text is the title, so
// hyphenated names ("Jay-Z") and a lone dash stay whole.
StreamTitleParts SplitStreamTitle(const QString &NowPlaying);

} // namespace Tunewell
