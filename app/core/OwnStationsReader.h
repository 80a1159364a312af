#pragma once

#include "app/core/OwnStation.h"

#include <Cumulo/Types.h>
#include <vector>

namespace Tunewell {

struct TOwnStationsRead {
    // In the order of the node.
    std::vector<TOwnStation> Stations;
    // Stations left out: not a record, nome or url missing or not text, estilo or localizacao
    // not text, a serie that is not a negative whole number or that an earlier station holds.
    int Skipped = 0;
};

// The stations of the PROPRIAS node {"<key>": {"nome": ..., "url": ..., ...}, ...}. A missing
// node (null) holds none. One bad station is skipped and counted, never the whole node; a node
// that is not an object throws EOwnStationsError.
TOwnStationsRead ReadOwnStations(const Cumulo::TJSONValue &Node);

} // namespace Tunewell
