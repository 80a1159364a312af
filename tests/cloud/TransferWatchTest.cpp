#include "Cumulo/TransferWatch.h"

#include <functional>
#include <gtest/gtest.h>

using namespace Cumulo;
using namespace std::chrono_literals;

namespace {

// A transfer followed every 50 ms for a minute, as the transfer loop follows it: where the watch
// ends it, and why.
TEST(TransferWatch, EndsATransferByItsLimits) {
    TTransferLimits limits;
    limits.FirstByte = 1000ms;
    limits.ProgressWindow = 2000ms;
    limits.SlowestProgress = 100; // 200 bytes in the window
    limits.SmallRequestDeadline = 5000ms;
    const auto rate = [](std::uint64_t PerSecond) {
        return [PerSecond](int Ms) { return PerSecond * static_cast<std::uint64_t>(Ms) / 1000; };
    };
    const struct {
        const char *Name;
        bool Small;
        int SentAt;   // ms; the request's body was sent whole
        int AnswerAt; // ms; -1 for never
        std::function<std::uint64_t(int Ms)> Bytes;
        int EndsAt; // ms; -1 when it may run on
        std::string Why;
    } cases[] = {
        {"silent", false, 0, -1, rate(0), 1000, "Timed out: no answer within 1000 ms"},
        {"answered late", false, 0, 900, rate(1000), -1, ""},
        {"a large body still being sent", false, 30000, 30500, rate(1000), -1, ""},
        {"a body sent, then silence", false, 30000, -1, rate(1000), 31000,
         "Timed out: no answer within 1000 ms"},
        {"slow but steady for a minute", false, 0, 0, rate(120), -1, ""},
        {"below the floor", false, 0, 0, rate(90), 2000,
         "Timed out: fewer than 200 bytes moved within 2000 ms"},
        {"a burst, then nothing", false, 0, 0, [](int Ms) { return Ms < 10000 ? 100u * Ms : 1000000u; },
         12000, "Timed out: fewer than 200 bytes moved within 2000 ms"},
        {"small and steady past its limit", true, 0, 0, rate(1000), 5000,
         "Timed out: no complete answer within 5000 ms"},
    };
    const auto start = std::chrono::steady_clock::time_point() + 1h;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TTransferWatch watch(limits, c.Small, start);
        int endedAt = -1;
        std::string why;
        for (int ms = 0; ms <= 60000 && endedAt < 0; ms += 50) {
            if (auto broken = watch.Check(start + std::chrono::milliseconds(ms), c.Bytes(ms), ms >= c.SentAt,
                                          c.AnswerAt >= 0 && ms >= c.AnswerAt)) {
                endedAt = ms;
                why = *broken;
            }
        }
        EXPECT_EQ(endedAt, c.EndsAt);
        EXPECT_EQ(why, c.Why);
    }
}

} // namespace
