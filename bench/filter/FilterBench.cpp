// Types words into the station filter over a table of 50,000 stations shown in a grid, one
// keystroke at a time, and prints the median and the worst time a keystroke took to re-filter
// (the grid's own update included), for each word and over all of them.
// Usage: filter-bench [STATIONS]; run with QT_QPA_PLATFORM=offscreen where there is no display.
#include "KeystrokeTiming.h"
#include "SampleTable.h"
#include "app/core/StationTable.h"
#include "app/ui/StationFilterModel.h"
#include "app/ui/StationTableModel.h"

#include <QApplication>
#include <QTableView>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    using namespace Tunewell;
    QApplication application(argc, argv);
    const int stations = argc > 1 ? std::stoi(argv[1]) : 50000;
    TStationTable table;
    TunewellBench::FillSampleTable(table, stations);
    StationTableModel source(table);
    StationFilterModel filter(source);
    QTableView grid;
    grid.setModel(&filter);
    grid.resize(470, 324);
    grid.show();
    QApplication::processEvents();

    std::vector<double> all;
    std::printf("stations: %d\n", stations);
    // Each word typed from an empty field, then cleared with one keystroke.
    for (const char *word : {"radio", "sao paulo", "classica", "jovem 1234", "zzz"}) {
        for (int round = 0; round < 3; ++round) {
            const auto timing = TunewellBench::TimeTyping(
                QString::fromUtf8(word), [&filter](const QString &Text) { filter.SetText(Text); },
                [&filter] { return filter.rowCount(); });
            all.insert(all.end(), timing.Milliseconds.begin(), timing.Milliseconds.end());
            if (round == 2)
                TunewellBench::PrintWordTiming(word, timing);
        }
    }
    TunewellBench::PrintEveryKeystroke(all);
    return 0;
}
