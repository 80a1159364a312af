#include "app/core/StationTable.h"

#include "app/core/StationTableError.h"
#include "app/core/StationTableObserver.h"
#include "shared/core/CutToCharacters.h"

#include <QCollator>
#include <QString>
#include <algorithm>
#include <iterator>
#include <numeric>

namespace Tunewell {

namespace {

const std::array<TFieldDef, StationFieldCount> FieldDefs{{
    {"num", "cdsRadiosnum", TFieldType::Integer, 0},
    {"nome", "cdsRadiosnome", TFieldType::Text, 150},
    {"estilo", "cdsRadiosestilo", TFieldType::Text, 30},
    {"local", "cdsRadioslocal", TFieldType::Text, 30},
    {"favoritos", "cdsRadiosfavorito", TFieldType::Text, 3},
    {"qualidade", "cdsRadiosqualidade", TFieldType::Text, 10},
    {"url", "cdsRadiosurl", TFieldType::Text, 200},
    {"serie", "cdsRadiosserie", TFieldType::Integer, 0},
    {"ID", "cdsRadiosID", TFieldType::Text, 6},
}};

// Three-way order of two values of one field: no value first, numbers numerically, text by
// the user's locale.
int CompareValues(const QCollator &Collator, const TFieldValue &Left, const TFieldValue &Right) {
    if (Left.index() != Right.index()) {
        return Left.index() < Right.index() ? -1 : 1;
    }
    if (const auto *left = std::get_if<std::int64_t>(&Left)) {
        const auto right = std::get<std::int64_t>(Right);
        return *left < right ? -1 : (*left > right ? 1 : 0);
    }
    if (const auto *left = std::get_if<std::string>(&Left)) {
        return Collator.compare(QString::fromStdString(*left),
                                QString::fromStdString(std::get<std::string>(Right)));
    }
    return 0;
}

bool FitsField(const TFieldDef &Def, const TFieldValue &Value) {
    if (std::holds_alternative<std::monostate>(Value)) {
        return true;
    }
    if (Def.Type == TFieldType::Integer) {
        return std::holds_alternative<std::int64_t>(Value);
    }
    const auto *text = std::get_if<std::string>(&Value);
    return text && CutToCharacters(*text, Def.Size).size() == text->size();
}

} // namespace

TStationTable::TStationTable() = default;

const std::array<TFieldDef, StationFieldCount> &TStationTable::Fields() {
    return FieldDefs;
}

int TStationTable::FieldIndex(std::string_view Name) {
    for (int i = 0; i < StationFieldCount; ++i) {
        if (FieldDefs[i].Name == Name) {
            return i;
        }
    }
    throw EStationTableError("Field '" + std::string(Name) + "' not found");
}

void TStationTable::Open() {
    fOpen = true;
}

void TStationTable::Close() {
    CheckOpen();
    NotifyAboutToReset();
    fRows.clear();
    fCurrent = -1;
    fState = TState::Browse;
    fOpen = false;
    NotifyReset();
}

int TStationTable::RowCount() const {
    CheckOpen();
    return static_cast<int>(fRows.size());
}

const TFieldValue &TStationTable::Value(int Row, int Field) const {
    CheckRow(Row);
    if (Field < 0 || Field >= StationFieldCount) {
        throw EStationTableError("Field position " + std::to_string(Field) + " out of range");
    }
    return fRows[Row][Field];
}

std::string TStationTable::DisplayText(int Row, int Field) const {
    return FieldDisplayText(Value(Row, Field));
}

void TStationTable::SetCurrentRow(int Row) {
    CheckRow(Row);
    CommitOpenRow();
    MoveCurrentTo(Row);
}

std::string TStationTable::FieldText(std::string_view Name) const {
    return FieldText(FieldIndex(Name));
}

std::string TStationTable::FieldText(int Field) const {
    CheckOpen();
    return fCurrent < 0 ? std::string() : DisplayText(fCurrent, Field);
}

void TStationTable::Append() {
    CheckOpen();
    CommitOpenRow();
    const int row = static_cast<int>(fRows.size());
    if (Notifying()) {
        for (auto *observer : fObservers) {
            observer->RowsAboutToBeAppended(row, row);
        }
    }
    fRows.emplace_back();
    fState = TState::Append;
    if (Notifying()) {
        for (auto *observer : fObservers) {
            observer->RowsAppended(row, row);
        }
    }
    MoveCurrentTo(row);
}

void TStationTable::Edit() {
    CheckOpen();
    if (fCurrent < 0) {
        throw EStationTableError("Cannot edit: the table has no rows");
    }
    if (fState == TState::Browse) {
        fState = TState::Edit;
    }
}

void TStationTable::SetField(std::string_view Name, std::string_view Text) {
    SetField(FieldIndex(Name), Text);
}

void TStationTable::SetField(int Field, std::string_view Text) {
    CheckOpen();
    if (fState == TState::Browse) {
        throw EStationTableError("Table not in edit or append mode");
    }
    if (Field < 0 || Field >= StationFieldCount) {
        throw EStationTableError("Field position " + std::to_string(Field) + " out of range");
    }
    fRows[fCurrent][Field] = FieldValueFromText(FieldDefs[Field], Text);
}

void TStationTable::Post() {
    CheckOpen();
    CommitOpenRow();
}

void TStationTable::First() {
    CheckOpen();
    CommitOpenRow();
    if (!fRows.empty()) {
        MoveCurrentTo(0);
    }
}

bool TStationTable::Locate(std::string_view Name, std::string_view Value) {
    const int field = FieldIndex(Name);
    CheckOpen();
    CommitOpenRow();
    TFieldValue wanted;
    try {
        wanted = FieldValueFromText(FieldDefs[field], Value);
    } catch (const EStationTableError &) {
        return false;
    }
    // A text longer than the field can never have been stored whole.
    if (std::holds_alternative<std::monostate>(wanted) ||
        (FieldDefs[field].Type == TFieldType::Text && std::get<std::string>(wanted).size() != Value.size())) {
        return false;
    }
    for (int row = 0; row < static_cast<int>(fRows.size()); ++row) {
        if (fRows[row][field] == wanted) {
            MoveCurrentTo(row);
            return true;
        }
    }
    return false;
}

void TStationTable::SortBy(std::string_view Name) {
    const int field = FieldIndex(Name);
    CheckOpen();
    CommitOpenRow();
    fSortField = FieldDefs[field].Name;
    fSortIndex = field;
    NotifyAboutToReset();
    ApplySort();
    NotifyReset();
}

void TStationTable::SuspendUpdates() {
    if (fSuspensions == 0) {
        NotifyAboutToReset();
    }
    ++fSuspensions;
}

void TStationTable::ResumeUpdates() {
    if (fSuspensions == 0) {
        return;
    }
    if (--fSuspensions == 0) {
        NotifyReset();
    }
}

void TStationTable::ReplaceRows(std::vector<TStationRow> Rows) {
    CheckOpen();
    CheckFits(Rows);
    NotifyAboutToReset();
    fRows = std::move(Rows);
    fState = TState::Browse;
    if (fSortIndex >= 0) {
        ApplySort();
    }
    fCurrent = fRows.empty() ? -1 : 0;
    NotifyReset();
}

void TStationTable::AppendRows(std::vector<TStationRow> Rows) {
    CheckOpen();
    CheckFits(Rows);
    CommitOpenRow();
    NotifyAboutToReset();
    fRows.reserve(fRows.size() + Rows.size());
    std::move(Rows.begin(), Rows.end(), std::back_inserter(fRows));
    // A stable sort of the sorted rows followed by the new ones puts every new row after the
    // rows not greater than it, as committing them one by one would.
    if (fSortIndex >= 0) {
        ApplySort();
    }
    fCurrent = fRows.empty() ? -1 : 0;
    NotifyReset();
}

std::vector<TStationRow> TStationTable::ReleaseRows() {
    CheckOpen();
    NotifyAboutToReset();
    std::vector<TStationRow> rows = std::move(fRows);
    fRows.clear();
    fCurrent = -1;
    fState = TState::Browse;
    NotifyReset();
    return rows;
}

void TStationTable::AddObserver(IStationTableObserver *Observer) {
    fObservers.push_back(Observer);
}

void TStationTable::RemoveObserver(IStationTableObserver *Observer) {
    fObservers.erase(std::remove(fObservers.begin(), fObservers.end(), Observer), fObservers.end());
}

void TStationTable::CheckOpen() const {
    if (!fOpen) {
        throw EStationTableError("Cannot perform this operation on a closed dataset");
    }
}

void TStationTable::CheckFits(const std::vector<TStationRow> &Rows) {
    for (const auto &row : Rows) {
        for (int field = 0; field < StationFieldCount; ++field) {
            if (!FitsField(FieldDefs[field], row[field])) {
                throw EStationTableError("A value does not fit field '" + FieldDefs[field].Name + "'");
            }
        }
    }
}

void TStationTable::CheckRow(int Row) const {
    CheckOpen();
    if (Row < 0 || Row >= static_cast<int>(fRows.size())) {
        throw EStationTableError("Row " + std::to_string(Row) + " out of range");
    }
}

void TStationTable::CommitOpenRow() {
    if (fState == TState::Browse) {
        return;
    }
    fState = TState::Browse;
    const int place = SortedPlaceOf(fCurrent);
    if (place == fCurrent) {
        if (Notifying()) {
            for (auto *observer : fObservers) {
                observer->RowChanged(fCurrent);
            }
        }
        return;
    }
    NotifyAboutToReset();
    TStationRow row = std::move(fRows[fCurrent]);
    fRows.erase(fRows.begin() + fCurrent);
    fRows.insert(fRows.begin() + place, std::move(row));
    fCurrent = place;
    NotifyReset();
}

void TStationTable::MoveCurrentTo(int Row) {
    if (Row == fCurrent) {
        return;
    }
    fCurrent = Row;
    if (Notifying()) {
        for (auto *observer : fObservers) {
            observer->CurrentRowChanged(Row);
        }
    }
}

// Where a committed row belongs in the sort order: after every other row that is not
// greater, so equal rows keep the order in which they were committed.
int TStationTable::SortedPlaceOf(int Row) const {
    if (fSortIndex < 0) {
        return Row;
    }
    QCollator collator;
    const TFieldValue &value = fRows[Row][fSortIndex];
    int low = 0;
    int high = static_cast<int>(fRows.size()) - 1;
    while (low < high) {
        const int middle = (low + high) / 2;
        const int other = middle < Row ? middle : middle + 1;
        if (CompareValues(collator, fRows[other][fSortIndex], value) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

void TStationTable::ApplySort() {
    const QCollator collator;
    std::vector<int> order(fRows.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<QCollatorSortKey> keys;
    if (FieldDefs[fSortIndex].Type == TFieldType::Text) {
        keys.reserve(fRows.size());
        for (const auto &row : fRows) {
            const auto *text = std::get_if<std::string>(&row[fSortIndex]);
            keys.push_back(collator.sortKey(text ? QString::fromStdString(*text) : QString()));
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](int Left, int Right) {
        const TFieldValue &left = fRows[Left][fSortIndex];
        const TFieldValue &right = fRows[Right][fSortIndex];
        if (!keys.empty() && left.index() == right.index() && std::holds_alternative<std::string>(left)) {
            return keys[Left].compare(keys[Right]) < 0;
        }
        return CompareValues(collator, left, right) < 0;
    });
    std::vector<TStationRow> sorted;
    sorted.reserve(fRows.size());
    int current = -1;
    for (int place = 0; place < static_cast<int>(order.size()); ++place) {
        if (order[place] == fCurrent) {
            current = place;
        }
        sorted.push_back(std::move(fRows[order[place]]));
    }
    fRows = std::move(sorted);
    fCurrent = current;
}

void TStationTable::NotifyAboutToReset() {
    if (Notifying()) {
        for (auto *observer : fObservers) {
            observer->TableAboutToBeReset();
        }
    }
}

void TStationTable::NotifyReset() {
    if (Notifying()) {
        for (auto *observer : fObservers) {
            observer->TableReset();
        }
    }
}

} // namespace Tunewell
