#pragma once

#include <string>
#include <vector>

namespace Tunewell {
class TStationTable;
}

// A station table filled with generated stations, as the window benchmarks show it.
namespace TunewellBench {

// The address of generated station Index.
std::string SampleUrl(int Index);
// Replaces the table's rows with Stations generated ones: each its own name, number, serie and
// address; every tenth a favourite.
void FillSampleTable(Tunewell::TStationTable &Table, int Stations);

} // namespace TunewellBench
