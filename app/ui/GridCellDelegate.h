#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace Tunewell {

// Draws each grid cell in the usual way, then hands it to the window's own drawing handler
// (DBGrid1DrawColumnCell), as a data grid's per-cell drawing event does.
class GridCellDelegate : public QStyledItemDelegate {
public:
    using DrawHandler =
        std::function<void(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index)>;

    GridCellDelegate(DrawHandler Handler, QObject *Parent);
    void paint(QPainter *Painter, const QStyleOptionViewItem &Option,
               const QModelIndex &Index) const override;

private:
    DrawHandler Handler_;
};

} // namespace Tunewell
