#pragma once

#include "app/core/StationTableObserver.h"

#include <QAbstractTableModel>

namespace Tunewell {

class TStationTable;

// The grid's view of the station table cdsRadios (its DataSource1): the five grid columns over
// the table's own rows, which it follows through the table's observer; it copies no row.
class StationTableModel : public QAbstractTableModel, private IStationTableObserver {
    Q_OBJECT
public:
    explicit StationTableModel(TStationTable &Table, QObject *Parent = nullptr);
    ~StationTableModel() override;

    TStationTable &Table() const { return Table_; }
    // The table field shown by a grid column.
    static int FieldOfColumn(int Column);
    static QString FieldNameOfColumn(int Column);
    // What the N\u00BA cell of a station of the listener's own shows: it has no catalogue number.
    static QString OwnStationMark();

    // Marks the column a sort was chosen by: every column's cells turn black, the marked one's
    // blue with a sky-blue title. -1 removes the marking.
    void SetMarkedColumn(int Column);
    int MarkedColumn() const { return MarkedColumn_; }

    int rowCount(const QModelIndex &Parent = {}) const override;
    int columnCount(const QModelIndex &Parent = {}) const override;
    QVariant data(const QModelIndex &Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;

signals:
    // The table's current row moved (-1: none).
    void TableCurrentRowChanged(int Row);

private:
    void RowsAboutToBeAppended(int First, int Last) override;
    void RowsAppended(int First, int Last) override;
    void RowChanged(int Row) override;
    void TableAboutToBeReset() override;
    void TableReset() override;
    void CurrentRowChanged(int Row) override;

    TStationTable &Table_;
    int MarkedColumn_ = -1;
    int IndicatedRow_ = -1;
};

} // namespace Tunewell
