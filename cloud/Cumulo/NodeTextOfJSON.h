#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Cumulo {

// The node text (see NodeText) of JSON text, written while the text is parsed, without building
// the value: NodeText(*ParseJSON(Text)), or std::nullopt where ParseJSON gives none. A large
// answer thus never exists as a value next to its text.
std::optional<std::string> NodeTextOfJSON(std::string_view Text);

} // namespace Cumulo
