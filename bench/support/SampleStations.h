#pragma once

#include <string>

// The texts of the benchmarks' generated stations: Portuguese names, styles and places with
// accents, as a real catalogue has them, repeating every few stations.
namespace TunewellBench {

// "<name> <Index + 1>": each station's name is its own.
std::string SampleName(int Index);
std::string SampleStyle(int Index);
std::string SamplePlace(int Index);

} // namespace TunewellBench
