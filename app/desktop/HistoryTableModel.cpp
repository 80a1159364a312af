#include "app/desktop/HistoryTableModel.h"

#include "app/core/SearchFolding.h"
#include "app/history/HistoryExport.h"

#include <algorithm>

namespace Tunewell {

void HistoryTableModel::SetList(HistoryList List) {
    std::reverse(List.Entries.begin(), List.Entries.end());
    std::reverse(List.Folded.begin(), List.Folded.end());
    beginResetModel();
    List_ = std::move(List);
    Refilter();
    endResetModel();
}

void HistoryTableModel::Prepend(const HistoryEntry &Entry) {
    List_.Entries.push_back(Entry);
    List_.Folded.push_back(FoldedHistoryText(Entry));
    const std::size_t index = List_.Entries.size() - 1;
    if (!Accepts(index))
        return;
    beginInsertRows({}, 0, 0);
    Shown_.insert(Shown_.begin(), index);
    endInsertRows();
}

void HistoryTableModel::SetFilterText(const QString &Text) {
    beginResetModel();
    Words_ = FoldedSearchWords(Text.toStdString());
    Refilter();
    endResetModel();
}

bool HistoryTableModel::Accepts(std::size_t Entry) const {
    return HoldsEveryWord(List_.Folded[Entry], Words_);
}

void HistoryTableModel::Refilter() {
    Shown_.clear();
    for (std::size_t entry = List_.Entries.size(); entry-- > 0;)
        if (Accepts(entry))
            Shown_.push_back(entry);
}

const HistoryEntry &HistoryTableModel::EntryAt(int Row) const {
    return List_.Entries.at(Shown_.at(static_cast<std::size_t>(Row)));
}

int HistoryTableModel::rowCount(const QModelIndex &Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(Shown_.size());
}

int HistoryTableModel::columnCount(const QModelIndex &Parent) const {
    return Parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryTableModel::data(const QModelIndex &Index, int Role) const {
    if (!Index.isValid() || (Role != Qt::DisplayRole && Role != Qt::ToolTipRole))
        return {};
    const HistoryEntry &entry = EntryAt(Index.row());
    switch (Index.column()) {
    case TimeColumn:
        return QString::fromStdString(HistoryTimeText(entry.StartedAt));
    case StationColumn:
        return QString::fromStdString(entry.Station);
    case TitleColumn:
        return QString::fromStdString(entry.Title);
    }
    return {};
}

QVariant HistoryTableModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
        return {};
    switch (Section) {
    case TimeColumn:
        return QStringLiteral("Time / Hora");
    case StationColumn:
        return QStringLiteral("Station / R\u00E1dio");
    case TitleColumn:
        return QStringLiteral("Title / T\u00EDtulo");
    }
    return {};
}

} // namespace Tunewell
