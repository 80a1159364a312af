#pragma once

#include "app/core/StationField.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Tunewell {

// Field positions; the favourites handlers address favoritos by its position.
enum TStationFieldPosition : int {
    fpNum = 0,
    fpNome = 1,
    fpEstilo = 2,
    fpLocal = 3,
    fpFavoritos = 4,
    fpQualidade = 5,
    fpUrl = 6,
    fpSerie = 7,
    fpID = 8,
};
inline constexpr int StationFieldCount = 9;

// One row of the station table, compactly: the two whole numbers (num, serie) beside the seven
// texts, which share one buffer, and one bit per field for "has a value". A catalogue of tens of
// thousands of stations is held in about a third of the room of one value object per field.
class TStationRow {
public:
    TFieldValue Value(int Field) const;
    bool HasValue(int Field) const { return (fPresent >> Field) & 1u; }
    // A text field's text (empty when it has none); empty for the integer fields.
    std::string_view Text(int Field) const;
    // An integer field's number (0 when it has none).
    std::int64_t Number(int Field) const { return Field == fpNum ? fNum : fSerie; }
    static bool IsInteger(int Field) { return Field == fpNum || Field == fpSerie; }

    // Throws EStationTableError for a value of the other type than the field's (text for num
    // or serie, a number for a text field). The size of a text is the table's business.
    void Set(int Field, const TFieldValue &Value);

    // A station of the listener's own (from the profile's PROPRIAS), not of the catalogue.
    bool Own() const { return fOwn; }
    void SetOwn(bool Own) { fOwn = Own; }

    bool operator==(const TStationRow &Other) const = default;

private:
    static int Slot(int Field);
    void SetText(int Slot, std::string_view Text);

    // The texts of nome, estilo, local, favoritos, qualidade, url and ID, end to end; their ends.
    std::string fTexts;
    std::array<std::uint16_t, 7> fEnds{};
    std::uint16_t fPresent = 0;
    bool fOwn = false;
    std::int64_t fNum = 0;
    std::int64_t fSerie = 0;
};

} // namespace Tunewell
