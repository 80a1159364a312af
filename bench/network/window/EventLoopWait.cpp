#include "EventLoopWait.h"

#include <QEventLoop>
#include <QTimer>

namespace TunewellBench {

namespace {
constexpr int kLookMs = 5;
}

bool WaitUntil(const std::function<bool()> &Done, std::chrono::milliseconds Limit) {
    if (Done())
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (Done())
            loop.quit();
    });
    look.start(kLookMs);
    QTimer::singleShot(Limit, &loop, &QEventLoop::quit);
    loop.exec();
    return Done();
}

void KeepRunning(std::chrono::milliseconds Span) {
    WaitUntil([] { return false; }, Span);
}

} // namespace TunewellBench
