#pragma once

#include "app/core/StationRow.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace Tunewell {

class IStationTableObserver;

// The in-memory station table (the main window's cdsRadios): nine fields, rows in the
// current order, one current row, an optional persistent sort on one field.
//
// Editing follows the dataset pattern: Append (or Edit) opens the current row for changes,
// SetField assigns values, Post commits. Navigation (First, Locate, SetCurrentRow, SortBy)
// commits an open row first. While sorted, a committed row moves to its place in the order.
// Every operation except IsOpen and Open throws EStationTableError on a closed table;
// unknown field names, bad positions and integer fields given text that is not a whole
// number throw it too.
class TStationTable {
public:
    enum class TState { Browse, Append, Edit };

    // Created with its fields, empty and open.
    TStationTable();

    static const std::array<TFieldDef, StationFieldCount> &Fields();
    static int FieldIndex(std::string_view Name);

    bool IsOpen() const { return fOpen; }
    void Open();
    // Closing drops every row.
    void Close();

    int RowCount() const;
    const std::vector<TStationRow> &Rows() const { return fRows; }
    TFieldValue Value(int Row, int Field) const;
    // A text field's text without a copy (empty when none); empty for the integer fields.
    std::string_view Text(int Row, int Field) const;
    std::string DisplayText(int Row, int Field) const;

    // -1 when the table has no rows.
    int CurrentRow() const { return fCurrent; }
    void SetCurrentRow(int Row);
    // The current row's display text of a field; empty when there is no current row.
    std::string FieldText(std::string_view Name) const;
    std::string FieldText(int Field) const;

    TState State() const { return fState; }
    // Adds an empty row at the end and makes it current, open for changes.
    void Append();
    // Opens the current row for changes.
    void Edit();
    void SetField(std::string_view Name, std::string_view Text);
    void SetField(int Field, std::string_view Text);
    // Commits the open row; nothing happens when no row is open.
    void Post();
    // Marks the open row as one of the listener's own stations, or not.
    void SetOwn(bool Own);
    // Gives the open row every value and the mark of Row.
    void SetRow(const TStationRow &Row);
    bool IsOwn(int Row) const;
    // Drops the current row (an open one too); the row after it becomes current, or the one
    // before when it was the last.
    void Delete();

    void First();
    // Finds the first row, in the current order, whose field equals Value exactly, after
    // converting Value to the field's type; a row without a value never matches, nor does
    // any row when Value does not convert. The row found becomes current; when none matches
    // the current row stays and the result is false.
    bool Locate(std::string_view Name, std::string_view Value);

    // Ascending by one field: numeric for integer fields, the locale's order for text;
    // rows without a value come first, equal rows keep their order.
    void SortBy(std::string_view Name);
    // Empty when unsorted.
    const std::string &SortField() const { return fSortField; }

    // Nested; observers hear nothing until the last resume, then one reset.
    void SuspendUpdates();
    void ResumeUpdates();
    bool UpdatesSuspended() const { return fSuspensions > 0; }

    // Replaces every row at once (an open row is dropped); the sort, if any, is applied unless
    // the rows come sorted by its field already (SortedBy), and the first row becomes current.
    // Values must fit their fields' types.
    void ReplaceRows(std::vector<TStationRow> Rows, std::string_view SortedBy = {});
    // Rows in the order SortBy(Name) gives them, without a table: for rows sorted on another
    // thread before they replace a table's.
    static void SortRows(std::vector<TStationRow> &Rows, std::string_view Name);
    // Commits an open row, adds the rows at the end and makes the first row current: the same
    // rows in the same order as appending and posting them one by one, but sorted once.
    void AppendRows(std::vector<TStationRow> Rows);
    // Hands every row over and leaves the table empty.
    std::vector<TStationRow> ReleaseRows();

    void AddObserver(IStationTableObserver *Observer);
    void RemoveObserver(IStationTableObserver *Observer);

private:
    void CheckOpen() const;
    void CheckRow(int Row) const;
    static void CheckFits(const std::vector<TStationRow> &Rows);
    void CommitOpenRow();
    void MoveCurrentTo(int Row);
    int SortedPlaceOf(int Row) const;
    void ApplySort();
    // Sorts Rows by Field; returns where the row at Current went (-1 for none).
    static int SortRows(std::vector<TStationRow> &Rows, int Field, int Current);
    bool Notifying() const { return fSuspensions == 0; }
    void NotifyAboutToReset();
    void NotifyReset();

    std::vector<TStationRow> fRows;
    int fCurrent = -1;
    bool fOpen = true;
    TState fState = TState::Browse;
    std::string fSortField;
    int fSortIndex = -1;
    int fSuspensions = 0;
    std::vector<IStationTableObserver *> fObservers;
};

} // namespace Tunewell
