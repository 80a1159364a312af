#include "shared/core/TrimBlanks.h"

namespace Tunewell {

QString TrimBlanks(const QString &Text) {
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && Text[first].unicode() <= 0x20) {
        ++first;
    }
    while (last > first && Text[last - 1].unicode() <= 0x20) {
        --last;
    }
    return Text.mid(first, last - first);
}

} // namespace Tunewell
