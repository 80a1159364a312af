#pragma once

#include "Cumulo/Types.h"

#include <cstddef>
#include <string_view>

namespace Cumulo {

// Parses JSON text keeping member order; std::nullopt for text that is not JSON.
// Builds objects in linear time: the library's ordered parse looks every new key up
// linearly, which makes a catalogue of tens of thousands of stations take seconds.
// A repeated key keeps its first position and takes the last value, as the library does.
// Text nested deeper than MaxJSONNesting is refused as well: the parse itself does not recurse,
// but writing, copying or comparing the value does, and a hostile answer of a few hundred
// kilobytes of brackets would overflow the stack there.
TOptionalJSON ParseJSON(std::string_view Text);

// Far above anything the database stores (it refuses data nested more than 32 levels deep).
constexpr std::size_t MaxJSONNesting = 512;

} // namespace Cumulo
