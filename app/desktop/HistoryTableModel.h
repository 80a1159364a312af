#pragma once

#include "app/history/HistoryList.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace Tunewell {

// The History window's rows: time, station and title, newest first, narrowed to the entries
// holding every typed word (the station filter's rule). Filtering reads the folded texts worked
// out when the entries were read; it copies no entry.
class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, StationColumn, TitleColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces every entry.
    void SetList(HistoryList List);
    // A title newer than every entry.
    void Prepend(const HistoryEntry &Entry);
    void SetFilterText(const QString &Text);

    int EntryCount() const { return static_cast<int>(List_.Entries.size()); }
    const HistoryEntry &EntryAt(int Row) const;

    int rowCount(const QModelIndex &Parent = {}) const override;
    int columnCount(const QModelIndex &Parent = {}) const override;
    QVariant data(const QModelIndex &Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;

private:
    bool Accepts(std::size_t Entry) const;
    void Refilter();

    // Oldest first, so a new title is appended; rows count from the other end.
    HistoryList List_;
    std::vector<std::string> Words_;
    // The entries shown, by index into List_, newest first.
    std::vector<std::size_t> Shown_;
};

} // namespace Tunewell
