#pragma once

#include <nlohmann/json.hpp>

namespace TunewellCloud {

// The server keeps its own key order in TreeNode, so parsed values use the map-backed form:
// its lookups stay logarithmic for objects with tens of thousands of children.
using Json = nlohmann::json;

} // namespace TunewellCloud
