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

std::string_view TrimBlanks(std::string_view Text) {
    const auto blank = [](char Byte) { return static_cast<unsigned char>(Byte) <= 0x20; };
    while (!Text.empty() && blank(Text.front())) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && blank(Text.back())) {
        Text.remove_suffix(1);
    }
    return Text;
}

} // namespace Tunewell
