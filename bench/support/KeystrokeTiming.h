#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace TunewellBench {

// One word typed into a find field and cleared again: each keystroke's time and what was shown.
struct TWordTiming {
    std::vector<double> Milliseconds;
    int ShownAtWordEnd = 0;
};

// Types Word one keystroke at a time from an empty field, then clears it with one more; each
// keystroke is timed until the event loop has nothing left to do for it.
TWordTiming TimeTyping(const QString &Word, const std::function<void(const QString &)> &SetText,
                       const std::function<int()> &RowsShown);

double Median(std::vector<double> Times);

// "typing 'word' and clearing: median …, worst …" for one word.
void PrintWordTiming(const char *Word, const TWordTiming &Timing);
// "every keystroke: median …, worst …" over all words.
void PrintEveryKeystroke(const std::vector<double> &All);

} // namespace TunewellBench
