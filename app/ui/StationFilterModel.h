#pragma once

#include "app/core/StationFilter.h"

#include <QSortFilterProxyModel>

namespace Tunewell {

class StationTableModel;

// What the grid shows of the station table: the table's rows in the table's own order, less
// those the station filter turns away. A proxy over the table's model; it copies no row.
class StationFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit StationFilterModel(StationTableModel &Source, QObject *Parent = nullptr);

    void SetText(const QString &Text);
    void SetOnlyFavourites(bool Only);
    bool OnlyFavourites() const { return Filter_.OnlyFavourites(); }

    // The table row behind an index of this model or of the table's model; -1 for none.
    int TableRow(const QModelIndex &Index) const;
    // This model's index of a table row; invalid when the row is filtered out.
    QModelIndex IndexOfTableRow(int Row, int Column = 0) const;
    // The table row Step shown rows after (or, negative, before) the table row From, in the
    // grid's order; -1 when there is none. From -1 (or a hidden row) starts before the first
    // shown row going forward and after the last going back.
    int NeighbourRow(int From, int Step) const;

protected:
    bool filterAcceptsRow(int SourceRow, const QModelIndex &SourceParent) const override;

private:
    void Refilter();

    StationTableModel &Source_;
    TStationFilter Filter_;
};

} // namespace Tunewell
