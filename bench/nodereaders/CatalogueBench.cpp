// Loads catalogues of realistic stations into the station table with the program's reader
// and with the literal one, checks that both give the same rows, and prints the ratios.
#include "LiteralCatalogueReader.h"
#include "SampleStations.h"
#include "app/core/CatalogueReader.h"
#include "app/core/StationTable.h"
#include "app/core/UpdateSuspension.h"

#include <Cumulo/JsonText.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

using namespace Tunewell;

namespace {

// About 250 bytes of node text per station, keys shaped like the database's push keys.
Cumulo::TJSONValue Catalogue(int Stations) {
    Cumulo::TJSONValue node = Cumulo::TJSONValue::object();
    // Keys are unique by construction: add them without the object's linear look-up.
    auto &members = node.get_ref<Cumulo::TJSONValue::object_t &>();
    for (int i = 0; i < Stations; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "-NcT%08dxYz%06d", i * 7919 % 100000000, i);
        const std::string n = std::to_string(i + 1);
        members.emplace_back(
            key, Cumulo::TJSONValue{{"num", n},
                                    {"url", "http://stream" + n + ".radios-brasil.com.br:8000/live/aac-128k"},
                                    {"nome", TunewellBench::SampleName(i)},
                                    {"estilo", TunewellBench::SampleStyle(i)},
                                    {"localizacao", TunewellBench::SamplePlace(i)},
                                    {"qualidade", "128 kbps"},
                                    {"favorito", i % 10 == 0 ? "1" : "0"},
                                    {"serie", std::to_string(100000 + i)}});
    }
    return node;
}

std::map<int, std::string> Texts;

const std::string &NodeTextOf(int Stations) {
    auto &text = Texts[Stations];
    if (text.empty()) {
        text = Cumulo::NodeText(Catalogue(Stations));
    }
    return text;
}

template <void (*Reader)(std::string_view, TStationTable &)> void Load(benchmark::State &State) {
    const std::string &text = NodeTextOf(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        TStationTable table;
        TUpdateSuspension suspension(table);
        Reader(text, table);
        benchmark::DoNotOptimize(table.RowCount());
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
    State.counters["bytes_per_station"] =
        static_cast<double>(text.size()) / static_cast<double>(State.range(0));
}

void CatalogueReader(benchmark::State &State) {
    Load<ReadCatalogueText>(State);
}
void LiteralCatalogueReader(benchmark::State &State) {
    Load<LiteralReadCatalogueText>(State);
}

BENCHMARK(CatalogueReader)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
// The literal reader copies the rest of the text on every pass; 50,000 stations would take
// minutes, so it stops at 10,000.
BENCHMARK(LiteralCatalogueReader)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Remembers the CPU time per run so the ratios can be printed after the table; CPU time,
// because the wall clock of a shared machine measures the neighbours too.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &Runs) override {
        for (const auto &run : Runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                Seconds[run.run_name.function_name + "/" + run.run_name.args] =
                    run.cpu_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(Runs);
    }
    std::map<std::string, double> Seconds;
};

bool SameRows(const std::string &Text) {
    TStationTable ours;
    TStationTable literal;
    ReadCatalogueText(Text, ours);
    LiteralReadCatalogueText(Text, literal);
    return ours.Rows() == literal.Rows() && ours.CurrentRow() == literal.CurrentRow();
}

} // namespace

int main(int argc, char **argv) {
    // Realistic stations plus the shapes that skip or cut a row.
    auto odd = Catalogue(300);
    odd["-Nempty"] = {{"num", ""}, {"nome", "x"}};
    odd["-Nquote"] = {{"num", "1"}, {"nome", "Rádio \"Ação\""}};
    odd["-Nslash"] = {{"num", "1"}, {"nome", "D:\\music"}};
    odd["-Nshort"] = {{"num", "2"}, {"estilo", "Pop"}};
    odd["-Nnumber"] = 5;
    if (!SameRows(Cumulo::NodeText(odd)) || !SameRows(NodeTextOf(1000))) {
        std::fprintf(stderr, "The catalogue reader and the literal reader disagree\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto &s = reporter.Seconds;
    auto print = [&](const char *What, const std::string &Over, const std::string &Under) {
        if (s.count(Over) && s.count(Under) && s[Under] > 0) {
            std::printf("%s (CPU time): %.1f\n", What, s[Over] / s[Under]);
        }
    };
    print("catalogue reader, 50,000 / 1,000 stations time ratio", "CatalogueReader/50000",
          "CatalogueReader/1000");
    print("literal / catalogue reader at 1,000 stations", "LiteralCatalogueReader/1000",
          "CatalogueReader/1000");
    print("literal / catalogue reader at 10,000 stations", "LiteralCatalogueReader/10000",
          "CatalogueReader/10000");
    benchmark::Shutdown();
    return 0;
}
