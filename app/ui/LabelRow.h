#pragma once

#include <vector>

class QLabel;

namespace Tunewell {

// A label of a row and the left edge the window's layout gives it.
struct RowLabel {
    QLabel *Label;
    int Left;
};

// Sizes each label of a row (left to right) to its text and places it at its own left edge or,
// when its left neighbour's text reaches that far, Gap pixels after that neighbour. A row that
// would then pass Right moves its labels left, down to Gap between neighbours; what still does
// not fit is cut short with an ellipsis at the end of the row's last label, whose whole text
// becomes its tool tip.
void PlaceLabelRow(const std::vector<RowLabel> &Row, int Gap, int Right);

} // namespace Tunewell
