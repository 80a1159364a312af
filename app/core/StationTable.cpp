#include "app/core/StationTable.h"

#include "app/core/StationTableError.h"
#include "app/core/StationTableObserver.h"
#include "shared/core/CutToCharacters.h"

#include <QCollator>
#include <QString>
#include <algorithm>
#include <iterator>
#include <numeric>
#include <unordered_map>

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

// Three-way order of one field of two rows: no value first, numbers numerically, text by the
// user's locale.
int CompareFields(const QCollator &Collator, const TStationRow &Left, const TStationRow &Right, int Field) {
    if (Left.HasValue(Field) != Right.HasValue(Field)) {
        return Left.HasValue(Field) ? 1 : -1;
    }
    if (!Left.HasValue(Field)) {
        return 0;
    }
    if (TStationRow::IsInteger(Field)) {
        const auto left = Left.Number(Field);
        const auto right = Right.Number(Field);
        return left < right ? -1 : (left > right ? 1 : 0);
    }
    const std::string_view left = Left.Text(Field);
    const std::string_view right = Right.Text(Field);
    return Collator.compare(QString::fromUtf8(left.data(), static_cast<qsizetype>(left.size())),
                            QString::fromUtf8(right.data(), static_cast<qsizetype>(right.size())));
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

TFieldValue TStationTable::Value(int Row, int Field) const {
    CheckRow(Row);
    if (Field < 0 || Field >= StationFieldCount) {
        throw EStationTableError("Field position " + std::to_string(Field) + " out of range");
    }
    return fRows[Row].Value(Field);
}

std::string_view TStationTable::Text(int Row, int Field) const {
    CheckRow(Row);
    if (Field < 0 || Field >= StationFieldCount) {
        throw EStationTableError("Field position " + std::to_string(Field) + " out of range");
    }
    return fRows[Row].Text(Field);
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
    fRows[fCurrent].Set(Field, FieldValueFromText(FieldDefs[Field], Text));
}

void TStationTable::Post() {
    CheckOpen();
    CommitOpenRow();
}

void TStationTable::SetOwn(bool Own) {
    CheckOpen();
    if (fState == TState::Browse) {
        throw EStationTableError("Table not in edit or append mode");
    }
    fRows[fCurrent].SetOwn(Own);
}

void TStationTable::SetRow(const TStationRow &Row) {
    CheckOpen();
    if (fState == TState::Browse) {
        throw EStationTableError("Table not in edit or append mode");
    }
    CheckFits({Row});
    fRows[fCurrent] = Row;
}

bool TStationTable::IsOwn(int Row) const {
    CheckRow(Row);
    return fRows[Row].Own();
}

void TStationTable::Delete() {
    CheckOpen();
    if (fCurrent < 0) {
        throw EStationTableError("Cannot delete: the table has no rows");
    }
    fState = TState::Browse;
    NotifyAboutToReset();
    fRows.erase(fRows.begin() + fCurrent);
    if (fCurrent >= static_cast<int>(fRows.size())) {
        fCurrent = static_cast<int>(fRows.size()) - 1;
    }
    NotifyReset();
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
        const TStationRow &candidate = fRows[row];
        if (candidate.HasValue(field) && (FieldDefs[field].Type == TFieldType::Integer
                                              ? candidate.Number(field) == std::get<std::int64_t>(wanted)
                                              : candidate.Text(field) == Value)) {
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

void TStationTable::ReplaceRows(std::vector<TStationRow> Rows, std::string_view SortedBy) {
    CheckOpen();
    CheckFits(Rows);
    NotifyAboutToReset();
    fRows = std::move(Rows);
    fState = TState::Browse;
    if (fSortIndex >= 0 && SortedBy != fSortField) {
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
            const std::string_view text = row.Text(field);
            if (FieldDefs[field].Type == TFieldType::Text &&
                CutToCharacters(text, FieldDefs[field].Size).size() != text.size()) {
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
    const QCollator collator;
    const TStationRow &value = fRows[Row];
    int low = 0;
    int high = static_cast<int>(fRows.size()) - 1;
    while (low < high) {
        const int middle = (low + high) / 2;
        const int other = middle < Row ? middle : middle + 1;
        if (CompareFields(collator, fRows[other], value, fSortIndex) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

void TStationTable::ApplySort() {
    fCurrent = SortRows(fRows, fSortIndex, fCurrent);
}

void TStationTable::SortRows(std::vector<TStationRow> &Rows, std::string_view Name) {
    SortRows(Rows, FieldIndex(Name), -1);
}

// Every row gets a rank, equal for equal values, so the sort itself compares whole numbers: the
// locale's order is asked once per distinct text (a catalogue's styles and places repeat), not
// once per comparison.
int TStationTable::SortRows(std::vector<TStationRow> &Rows, int Field, int Current) {
    const int count = static_cast<int>(Rows.size());
    std::vector<std::int64_t> rank(Rows.size());
    if (TStationRow::IsInteger(Field)) {
        for (int row = 0; row < count; ++row) {
            rank[row] = Rows[row].Number(Field);
        }
    } else {
        std::unordered_map<std::string_view, int> distinct;
        std::vector<int> valueOf(Rows.size());
        for (int row = 0; row < count; ++row) {
            const auto [place, added] =
                distinct.emplace(Rows[row].Text(Field), static_cast<int>(distinct.size()));
            valueOf[row] = place->second;
        }
        std::vector<std::string_view> texts(distinct.size());
        for (const auto &[text, index] : distinct) {
            texts[index] = text;
        }
        distinct = {};
        const QCollator collator;
        std::vector<QCollatorSortKey> keys;
        keys.reserve(texts.size());
        for (const auto text : texts) {
            keys.push_back(
                collator.sortKey(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
        }
        std::vector<int> byText(texts.size());
        std::iota(byText.begin(), byText.end(), 0);
        std::sort(byText.begin(), byText.end(),
                  [&](int Left, int Right) { return keys[Left].compare(keys[Right]) < 0; });
        // Texts the locale finds equal share a rank.
        std::vector<int> textRank(texts.size());
        for (std::size_t place = 0; place < byText.size(); ++place) {
            const bool same = place > 0 && keys[byText[place - 1]].compare(keys[byText[place]]) == 0;
            textRank[byText[place]] = same ? textRank[byText[place - 1]] : static_cast<int>(place);
        }
        for (int row = 0; row < count; ++row) {
            rank[row] = textRank[valueOf[row]];
        }
    }
    std::vector<int> order(Rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int Left, int Right) {
        const bool left = Rows[Left].HasValue(Field);
        const bool right = Rows[Right].HasValue(Field);
        if (left != right) {
            return right;
        }
        return left && rank[Left] < rank[Right];
    });
    std::vector<TStationRow> sorted;
    sorted.reserve(Rows.size());
    int current = -1;
    for (int place = 0; place < count; ++place) {
        if (order[place] == Current) {
            current = place;
        }
        sorted.push_back(std::move(Rows[order[place]]));
    }
    Rows = std::move(sorted);
    return current;
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
