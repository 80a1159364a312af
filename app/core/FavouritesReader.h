#pragma once

#include <Cumulo/Types.h>
#include <string_view>

namespace Tunewell {

class TStationTable;

// Marks the favourites of the FAVORITOS node {"12": "1", ...}: each row whose serie is a
// member name gets the member's value in favoritos. Ends with the first row current. A pass
// that consumes no text (a value that is not a string) ends the reading.
void ReadFavourites(const Cumulo::TJSONValue &Node, TStationTable &Table);
void ReadFavouritesText(std::string_view NodeText, TStationTable &Table);

} // namespace Tunewell
