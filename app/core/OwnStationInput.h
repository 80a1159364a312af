#pragma once

#include "app/core/OwnStation.h"

#include <string>

namespace Tunewell {

// What the listener typed for a station of their own, as it will be kept: blanks trimmed at both
// ends, each text cut to what the cloud accepts (nome 150, url 200, estilo and localizacao 30
// characters).
TOwnStation OwnStationFromInput(const std::string &Nome, const std::string &Url, const std::string &Estilo,
                                const std::string &Localizacao);
// Why the station cannot be kept, in English and Portuguese; empty when it can: a name is
// needed, and an address that is http:// or https:// with a host.
std::string OwnStationInputProblem(const TOwnStation &Station);
// Why an address cannot be a station's, in English and Portuguese; empty for an absolute http://
// or https:// address naming a host.
std::string StreamAddressProblem(const std::string &Url);

} // namespace Tunewell
