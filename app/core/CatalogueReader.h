#pragma once

#include "app/core/StationTable.h"

#include <Cumulo/Types.h>
#include <string_view>
#include <vector>

namespace Tunewell {

// Appends one row per station of the ESTACOES node {"key": {station record}, ...}, in the
// order of the node text, and ends with the first row current. A station whose record is not
// valid JSON or whose "num" is empty adds no row; a station missing a member or holding a
// value its field rejects adds a row filled up to that member. Nothing is raised.
void ReadCatalogue(const Cumulo::TJSONValue &Node, TStationTable &Table);
void ReadCatalogueText(std::string_view NodeText, TStationTable &Table);
// The rows the reader gives an empty, unsorted table: what a read catalogue becomes. The text is
// taken over and released as soon as it has been read.
std::vector<TStationRow> ReadCatalogueRows(std::string NodeText);

} // namespace Tunewell
