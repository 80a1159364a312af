#include "KeystrokeTiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace TunewellBench {

TWordTiming TimeTyping(const QString &Word, const std::function<void(const QString &)> &SetText,
                       const std::function<int()> &RowsShown) {
    TWordTiming timing;
    for (qsizetype typed = 1; typed <= Word.size() + 1; ++typed) {
        QElapsedTimer clock;
        clock.start();
        SetText(typed <= Word.size() ? Word.left(typed) : QString());
        QCoreApplication::processEvents();
        timing.Milliseconds.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (typed == Word.size())
            timing.ShownAtWordEnd = RowsShown();
    }
    return timing;
}

double Median(std::vector<double> Times) {
    std::sort(Times.begin(), Times.end());
    return Times.empty() ? 0 : Times[Times.size() / 2];
}

void PrintWordTiming(const char *Word, const TWordTiming &Timing) {
    const auto &times = Timing.Milliseconds;
    std::printf(
        "typing '%s' and clearing: median %.1f ms, worst %.1f ms per keystroke (%d rows shown at the end "
        "of the word)\n",
        Word, Median(times), times.empty() ? 0.0 : *std::max_element(times.begin(), times.end()),
        Timing.ShownAtWordEnd);
}

void PrintEveryKeystroke(const std::vector<double> &All) {
    std::printf("every keystroke: median %.1f ms, worst %.1f ms\n", Median(All),
                All.empty() ? 0.0 : *std::max_element(All.begin(), All.end()));
}

} // namespace TunewellBench
