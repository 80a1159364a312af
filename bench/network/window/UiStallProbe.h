#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>

namespace TunewellBench {

// The UI thread's stalls: a timer ticking every 10 ms on it, and the longest gap between two of
// its ticks since Begin. Read from any thread: a gap still open when read (the UI thread stuck
// now) counts as it stands.
class UiStallProbe : public QObject {
    Q_OBJECT
public:
    explicit UiStallProbe(QObject *Parent = nullptr);

    // Measures afresh from now; on the UI thread.
    void Begin();
    // The longest gap since Begin, in milliseconds; 0 before Begin.
    long long LongestMs() const;

signals:
    // After each tick's gap is counted.
    void Ticked();

private:
    void Tick();

    QTimer Timer_;
    std::atomic<long long> LastTickNs_{0};
    std::atomic<long long> LongestNs_{0};
};

} // namespace TunewellBench
