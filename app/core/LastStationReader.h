#pragma once

#include <Cumulo/Types.h>
#include <string>
#include <string_view>

namespace Tunewell {

// The serie of the last station played, cut out of the LAST node {"Serie": "12"}; empty when
// the node has another shape (a numeric Serie, for instance).
std::string ReadLastSerie(const Cumulo::TJSONValue &Node);
std::string ReadLastSerieText(std::string_view NodeText);

} // namespace Tunewell
