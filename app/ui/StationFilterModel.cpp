#include "app/ui/StationFilterModel.h"

#include "app/ui/StationTableModel.h"

namespace Tunewell {

StationFilterModel::StationFilterModel(StationTableModel &Source, QObject *Parent)
    : QSortFilterProxyModel(Parent), Source_(Source) {
    setSourceModel(&Source);
}

void StationFilterModel::SetText(const QString &Text) {
    Filter_.SetText(Text.toStdString());
    Refilter();
}

void StationFilterModel::SetOnlyFavourites(bool Only) {
    Filter_.SetOnlyFavourites(Only);
    Refilter();
}

void StationFilterModel::Refilter() {
    // One change of layout for the grid: telling it of every row shown or hidden one range at a
    // time costs seconds at tens of thousands of rows.
    invalidate();
}

bool StationFilterModel::filterAcceptsRow(int SourceRow, const QModelIndex &) const {
    return !Filter_.Active() || Filter_.Accepts(Source_.Table(), SourceRow);
}

int StationFilterModel::TableRow(const QModelIndex &Index) const {
    if (!Index.isValid())
        return -1;
    return Index.model() == this ? mapToSource(Index).row() : Index.row();
}

QModelIndex StationFilterModel::IndexOfTableRow(int Row, int Column) const {
    if (Row < 0 || Row >= Source_.rowCount())
        return {};
    return mapFromSource(Source_.index(Row, Column));
}

int StationFilterModel::NeighbourRow(int From, int Step) const {
    const QModelIndex shown = IndexOfTableRow(From);
    int place = shown.isValid() ? shown.row() + Step : (Step > 0 ? Step - 1 : rowCount() + Step);
    if (place < 0 || place >= rowCount())
        return -1;
    return mapToSource(index(place, 0)).row();
}

} // namespace Tunewell
