#pragma once

#include <QHeaderView>

namespace Tunewell {

// The grid's title row. A title whose model gives it a background colour is drawn in that
// colour whatever the theme says, so the sorted column stays marked under every theme.
class GridTitleHeader : public QHeaderView {
public:
    explicit GridTitleHeader(QWidget *Parent);

protected:
    void paintSection(QPainter *Painter, const QRect &Rect, int LogicalIndex) const override;
};

} // namespace Tunewell
