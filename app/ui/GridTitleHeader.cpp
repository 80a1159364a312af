#include "app/ui/GridTitleHeader.h"

#include <QColor>
#include <QPainter>

namespace Tunewell {

GridTitleHeader::GridTitleHeader(QWidget *Parent) : QHeaderView(Qt::Horizontal, Parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
}

void GridTitleHeader::paintSection(QPainter *Painter, const QRect &Rect, int LogicalIndex) const {
    const QVariant background =
        model() ? model()->headerData(LogicalIndex, orientation(), Qt::BackgroundRole) : QVariant();
    if (!background.canConvert<QColor>()) {
        QHeaderView::paintSection(Painter, Rect, LogicalIndex);
        return;
    }
    const QString title = model()->headerData(LogicalIndex, orientation(), Qt::DisplayRole).toString();
    Painter->save();
    Painter->fillRect(Rect, background.value<QColor>());
    Painter->setPen(QColor(Qt::darkGray));
    Painter->drawRect(Rect.adjusted(0, 0, -1, -1));
    Painter->setPen(QColor(Qt::black));
    Painter->drawText(Rect.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
    Painter->restore();
}

} // namespace Tunewell
