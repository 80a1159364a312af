#pragma once

#include "app/core/StationRow.h"

#include <Cumulo/Types.h>
#include <cstdint>
#include <string>
#include <vector>

namespace Tunewell {

// A station of the listener's own, as the profile's PROPRIAS node keeps it: under a key the
// database gave, with a negative serie so that it never meets a catalogue station's and the
// favourites and the last station work on it unchanged.
struct TOwnStation {
    std::string Key;
    std::string Nome;
    std::string Url;
    std::string Estilo;
    std::string Localizacao;
    std::int64_t Serie = 0;

    bool operator==(const TOwnStation &Other) const = default;
};

// The record written under CADASTRADO/<profile>/PROPRIAS/<key>: nome, url, estilo, localizacao,
// serie (as text), in this order.
Cumulo::TJSONValue OwnStationRecord(const TOwnStation &Station);
// The station as a row of the station table, marked as one's own; not a favourite.
TStationRow OwnStationRow(const TOwnStation &Station);
std::vector<TStationRow> OwnStationRows(const std::vector<TOwnStation> &Stations);
// The serie for a new station: one less than the smallest so far, -1 for the first.
std::int64_t NextOwnSerie(const std::vector<TOwnStation> &Stations);

} // namespace Tunewell
