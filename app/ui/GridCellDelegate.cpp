#include "app/ui/GridCellDelegate.h"

#include <utility>

namespace Tunewell {

GridCellDelegate::GridCellDelegate(DrawHandler Handler, QObject *Parent)
    : QStyledItemDelegate(Parent), Handler_(std::move(Handler)) {}

void GridCellDelegate::paint(QPainter *Painter, const QStyleOptionViewItem &Option,
                             const QModelIndex &Index) const {
    QStyledItemDelegate::paint(Painter, Option, Index);
    Handler_(Painter, Option, Index);
}

} // namespace Tunewell
