#include "app/core/StationRow.h"

#include "app/core/StationTableError.h"

#include <limits>

namespace Tunewell {

int TStationRow::Slot(int Field) {
    return Field == fpID ? 6 : Field - 1;
}

TFieldValue TStationRow::Value(int Field) const {
    if (!HasValue(Field)) {
        return std::monostate{};
    }
    if (IsInteger(Field)) {
        return Number(Field);
    }
    return std::string(Text(Field));
}

std::string_view TStationRow::Text(int Field) const {
    if (IsInteger(Field)) {
        return {};
    }
    const int slot = Slot(Field);
    const std::size_t start = slot == 0 ? 0 : fEnds[slot - 1];
    return std::string_view(fTexts).substr(start, fEnds[slot] - start);
}

void TStationRow::Set(int Field, const TFieldValue &Value) {
    if (Field < 0 || Field >= StationFieldCount) {
        throw EStationTableError("Field position " + std::to_string(Field) + " out of range");
    }
    const bool none = std::holds_alternative<std::monostate>(Value);
    if (IsInteger(Field)) {
        const auto *number = std::get_if<std::int64_t>(&Value);
        if (!none && !number) {
            throw EStationTableError("An integer field cannot hold text");
        }
        (Field == fpNum ? fNum : fSerie) = number ? *number : 0;
    } else {
        const auto *text = std::get_if<std::string>(&Value);
        if (!none && !text) {
            throw EStationTableError("A text field cannot hold a number");
        }
        SetText(Slot(Field), text ? std::string_view(*text) : std::string_view());
    }
    const auto bit = static_cast<std::uint16_t>(1u << Field);
    fPresent =
        none ? static_cast<std::uint16_t>(fPresent & ~bit) : static_cast<std::uint16_t>(fPresent | bit);
}

void TStationRow::SetText(int Slot, std::string_view Text) {
    const std::size_t start = Slot == 0 ? 0 : fEnds[Slot - 1];
    const std::size_t oldLength = fEnds[Slot] - start;
    if (fTexts.size() - oldLength + Text.size() > std::numeric_limits<std::uint16_t>::max()) {
        throw EStationTableError("A row's texts are too long");
    }
    fTexts.replace(start, oldLength, Text);
    const auto shift = static_cast<std::ptrdiff_t>(Text.size()) - static_cast<std::ptrdiff_t>(oldLength);
    for (std::size_t slot = static_cast<std::size_t>(Slot); slot < fEnds.size(); ++slot) {
        fEnds[slot] = static_cast<std::uint16_t>(fEnds[slot] + shift);
    }
}

} // namespace Tunewell
