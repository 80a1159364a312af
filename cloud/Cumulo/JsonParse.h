#pragma once

#include "Cumulo/Types.h"

#include <string_view>

namespace Cumulo {

// Parses JSON text keeping member order; std::nullopt for text that is not JSON.
// Builds objects in linear time: the library's ordered parse looks every new key up
// linearly, which makes a catalogue of tens of thousands of stations take seconds.
// A repeated key keeps its first position and takes the last value, as the library does.
TOptionalJSON ParseJSON(std::string_view Text);

} // namespace Cumulo
