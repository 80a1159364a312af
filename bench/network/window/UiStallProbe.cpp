#include "UiStallProbe.h"

#include <algorithm>
#include <chrono>

namespace TunewellBench {

namespace {

constexpr int kTickMs = 10;

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

UiStallProbe::UiStallProbe(QObject *Parent) : QObject(Parent) {
    Timer_.setTimerType(Qt::PreciseTimer);
    Timer_.setInterval(kTickMs);
    connect(&Timer_, &QTimer::timeout, this, &UiStallProbe::Tick);
}

void UiStallProbe::Begin() {
    LongestNs_ = 0;
    LastTickNs_ = NowNs();
    Timer_.start();
}

long long UiStallProbe::LongestMs() const {
    const long long last = LastTickNs_;
    if (last == 0)
        return 0;
    return std::max<long long>(LongestNs_, NowNs() - last) / 1000000;
}

void UiStallProbe::Tick() {
    const long long now = NowNs();
    const long long gap = now - LastTickNs_.exchange(now);
    if (gap > LongestNs_)
        LongestNs_ = gap;
    emit Ticked();
}

} // namespace TunewellBench
