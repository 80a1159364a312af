// Types words into the station filter over a table of 50,000 stations shown in a grid, one
// keystroke at a time, and prints the median and the worst time a keystroke took to re-filter
// (the grid's own update included), for each word and over all of them.
// Usage: filter-bench [STATIONS]; run with QT_QPA_PLATFORM=offscreen where there is no display.
#include "SampleTable.h"
#include "app/core/StationTable.h"
#include "app/ui/StationFilterModel.h"
#include "app/ui/StationTableModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Median(std::vector<double> Times) {
    std::sort(Times.begin(), Times.end());
    return Times.empty() ? 0 : Times[Times.size() / 2];
}

} // namespace

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
            std::vector<double> times;
            int shown = 0;
            const QString text = QString::fromUtf8(word);
            for (qsizetype typed = 1; typed <= text.size() + 1; ++typed) {
                QElapsedTimer clock;
                clock.start();
                filter.SetText(typed <= text.size() ? text.left(typed) : QString());
                QApplication::processEvents();
                times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
                if (typed == text.size())
                    shown = filter.rowCount();
            }
            all.insert(all.end(), times.begin(), times.end());
            if (round == 2)
                std::printf(
                    "typing '%s' and clearing: median %.1f ms, worst %.1f ms per keystroke (%d rows shown at "
                    "the end of the word)\n",
                    word, Median(times), *std::max_element(times.begin(), times.end()), shown);
        }
    }
    std::printf("every keystroke: median %.1f ms, worst %.1f ms\n", Median(all),
                *std::max_element(all.begin(), all.end()));
    return 0;
}
