#pragma once

#include "Cumulo/Types.h"

namespace Cumulo {

// Raises EInvalidRequest when a database request would not address the node it names: a path
// segment is empty, or the data (at any depth) holds a member with an empty name. The empty list
// is the root and stays valid.
void CheckNodeAddress(const TStringDynArray &ResourceParams, const TJSONValue *Data);

} // namespace Cumulo
