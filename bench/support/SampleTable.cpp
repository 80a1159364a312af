#include "SampleTable.h"

#include "SampleStations.h"
#include "app/core/StationTable.h"

namespace TunewellBench {

std::string SampleUrl(int Index) {
    return "http://bench.invalid/" + std::to_string(Index);
}

void FillSampleTable(Tunewell::TStationTable &Table, int Stations) {
    using namespace Tunewell;
    std::vector<TStationRow> rows(static_cast<std::size_t>(Stations));
    for (int i = 0; i < Stations; ++i) {
        auto &row = rows[static_cast<std::size_t>(i)];
        row.Set(fpNum, std::int64_t{i + 1});
        row.Set(fpNome, SampleName(i));
        row.Set(fpEstilo, SampleStyle(i));
        row.Set(fpLocal, SamplePlace(i / 6));
        row.Set(fpUrl, SampleUrl(i));
        row.Set(fpFavoritos, std::string(i % 10 == 0 ? "1" : "2"));
        row.Set(fpSerie, std::int64_t{100000 + i});
    }
    Table.ReplaceRows(std::move(rows));
}

} // namespace TunewellBench
