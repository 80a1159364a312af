#include "app/ui/LabelRow.h"

#include <QLabel>
#include <algorithm>
#include <climits>

namespace Tunewell {

void PlaceLabelRow(const std::vector<RowLabel> &Row, int Gap, int Right) {
    if (Row.empty())
        return;
    const std::size_t Count = Row.size();
    std::vector<int> Lefts(Count);
    int End = INT_MIN / 2;
    for (std::size_t Index = 0; Index < Count; ++Index) {
        QLabel &Label = *Row[Index].Label;
        Label.setToolTip({});
        Label.adjustSize();
        Lefts[Index] = std::max(Row[Index].Left, End + Gap);
        End = Lefts[Index] + Label.width();
    }
    if (End > Right) {
        int Limit = Right;
        for (std::size_t Index = Count; Index-- > 0;) {
            Lefts[Index] = std::min(Lefts[Index], Limit - Row[Index].Label->width());
            Limit = Lefts[Index] - Gap;
        }
        if (Lefts.front() < Row.front().Left) {
            // Too long even packed: packed from the row's start, its last label cut short.
            Lefts.front() = Row.front().Left;
            for (std::size_t Index = 1; Index < Count; ++Index)
                Lefts[Index] = Lefts[Index - 1] + Row[Index - 1].Label->width() + Gap;
            QLabel &Last = *Row.back().Label;
            const QString Whole = Last.text();
            const int Blank = Last.width() - Last.fontMetrics().horizontalAdvance(Whole);
            Last.setText(Last.fontMetrics().elidedText(Whole, Qt::ElideRight, Right - Lefts.back() - Blank));
            Last.setToolTip(Whole);
            Last.adjustSize();
        }
    }
    for (std::size_t Index = 0; Index < Count; ++Index)
        Row[Index].Label->move(Lefts[Index], Row[Index].Label->y());
}

} // namespace Tunewell
