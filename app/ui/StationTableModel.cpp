#include "app/ui/StationTableModel.h"

#include "app/core/StationTable.h"

#include <QColor>
#include <array>

namespace Tunewell {

namespace {
struct GridColumn {
    int Field;
    const char *Title;
};
// num, nome, estilo, local, favoritos: the grid's columns in their order.
constexpr std::array<GridColumn, 5> kColumns{{
    {fpNum, "N\u00BA"},
    {fpNome, "Name"},
    {fpEstilo, "Style"},
    {fpLocal, "Location"},
    {fpFavoritos, "Fav"},
}};
const QColor kMarkedTitle(166, 202, 240);
const QColor kMarkedCells(0, 0, 255);
const QString kRowIndicator = QStringLiteral("\u25B6");
// What a screen reader says of a star, in both of the window's languages.
const QString kFavourite = QStringLiteral("favourite / favorita");
const QString kNotFavourite = QStringLiteral("not favourite / n\u00E3o favorita");
const QString kOwnStation = QStringLiteral("Your own station / Esta\u00E7\u00E3o sua");
} // namespace

QString StationTableModel::OwnStationMark() {
    return QStringLiteral("\u25C6");
}

StationTableModel::StationTableModel(TStationTable &Table, QObject *Parent)
    : QAbstractTableModel(Parent), Table_(Table), IndicatedRow_(Table.CurrentRow()) {
    Table_.AddObserver(this);
}

StationTableModel::~StationTableModel() {
    Table_.RemoveObserver(this);
}

int StationTableModel::FieldOfColumn(int Column) {
    return kColumns.at(Column).Field;
}

QString StationTableModel::FieldNameOfColumn(int Column) {
    return QString::fromStdString(TStationTable::Fields().at(FieldOfColumn(Column)).Name);
}

void StationTableModel::SetMarkedColumn(int Column) {
    MarkedColumn_ = Column;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::ForegroundRole});
}

int StationTableModel::rowCount(const QModelIndex &Parent) const {
    return Parent.isValid() || !Table_.IsOpen() ? 0 : Table_.RowCount();
}

int StationTableModel::columnCount(const QModelIndex &Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant StationTableModel::data(const QModelIndex &Index, int Role) const {
    if (!Index.isValid() || Index.row() >= rowCount())
        return {};
    const int field = FieldOfColumn(Index.column());
    switch (Role) {
    case Qt::DisplayRole:
        if (field == fpNum && Table_.IsOwn(Index.row()))
            return OwnStationMark();
        return QString::fromStdString(Table_.DisplayText(Index.row(), field));
    case Qt::ToolTipRole:
        if (field == fpNum && Table_.IsOwn(Index.row()))
            return kOwnStation;
        return {};
    case Qt::TextAlignmentRole:
        if (TStationTable::Fields()[field].Type == TFieldType::Integer)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::AccessibleTextRole:
        if (field == fpNum && Table_.IsOwn(Index.row()))
            return kOwnStation;
        if (field != fpFavoritos)
            return {};
        return Table_.DisplayText(Index.row(), field) == "1" ? kFavourite : kNotFavourite;
    case Qt::ForegroundRole:
        if (MarkedColumn_ < 0)
            return {};
        return Index.column() == MarkedColumn_ ? kMarkedCells : QColor(Qt::black);
    default:
        return {};
    }
}

QVariant StationTableModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation == Qt::Vertical) {
        if (Role == Qt::DisplayRole)
            return Section == Table_.CurrentRow() ? kRowIndicator : QString();
        return {};
    }
    if (Section < 0 || Section >= columnCount())
        return {};
    if (Role == Qt::DisplayRole)
        return QString::fromUtf8(kColumns[Section].Title);
    if (Role == Qt::BackgroundRole && Section == MarkedColumn_)
        return kMarkedTitle;
    return {};
}

void StationTableModel::RowsAboutToBeAppended(int First, int Last) {
    beginInsertRows({}, First, Last);
}

void StationTableModel::RowsAppended(int, int) {
    endInsertRows();
}

void StationTableModel::RowChanged(int Row) {
    emit dataChanged(index(Row, 0), index(Row, columnCount() - 1));
}

void StationTableModel::TableAboutToBeReset() {
    beginResetModel();
}

void StationTableModel::TableReset() {
    endResetModel();
    IndicatedRow_ = Table_.CurrentRow();
    emit TableCurrentRowChanged(IndicatedRow_);
}

void StationTableModel::CurrentRowChanged(int Row) {
    const int previous = IndicatedRow_;
    IndicatedRow_ = Row;
    if (previous >= 0 && previous < rowCount())
        emit headerDataChanged(Qt::Vertical, previous, previous);
    if (Row >= 0)
        emit headerDataChanged(Qt::Vertical, Row, Row);
    emit TableCurrentRowChanged(Row);
}

} // namespace Tunewell
