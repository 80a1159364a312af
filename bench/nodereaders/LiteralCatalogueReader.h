#pragma once

#include <string_view>

namespace Tunewell {

class TStationTable;

// The catalogue reader written the way its rules read: every pass copies the remaining text
// into a new string, so the work grows with the square of the catalogue. Kept here only as
// the yardstick (and the reference) for the reader the program uses.
void LiteralReadCatalogueText(std::string_view NodeText, TStationTable &Table);

} // namespace Tunewell
