// While one client listens on a profile's last station in the local cloud, under the program's own
// security rules, another writes the last station played as fast as it can. Prints how many events arrived
// and in what order, events per second, and the delay from each write's answer to the listener's callback on
// the main thread.

#include "Cumulo/Authentication.h"
#include "Cumulo/Log.h"
#include "Cumulo/QueueDispatcher.h"
#include "Cumulo/RealTimeDB.h"
#include "LocalCloud.h"
#include "ServiceAccount.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace Cumulo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Writes = 10000;
constexpr auto Patience = std::chrono::minutes(5);

std::shared_ptr<TRealTimeDB> SignedInClient(const TunewellTesting::LocalCloud &Cloud) {
    return std::make_shared<TRealTimeDB>(
        TunewellTesting::SignedInServiceAccount({Cloud.identityUrl(), Cloud.tokenUrl()}),
        Cloud.databaseUrl());
}

double Milliseconds(Clock::duration Duration) {
    return std::chrono::duration<double, std::milli>(Duration).count();
}

double Percentile(std::vector<double> Values, double Fraction) {
    if (Values.empty())
        return 0;
    std::sort(Values.begin(), Values.end());
    const auto index = static_cast<std::size_t>(Fraction * static_cast<double>(Values.size() - 1) + 0.5);
    return Values[std::min(index, Values.size() - 1)];
}

} // namespace

int main() {
    // Ten thousand request lines would measure the terminal, not the listener.
    SetLogSink([](const std::string &) {});
    auto dispatcher = std::make_shared<TQueueDispatcher>();
    SetMainThreadDispatcher(dispatcher);

    TunewellTesting::LocalCloud cloud;
    auto listening = SignedInClient(cloud);
    auto writing = SignedInClient(cloud);
    const TStringDynArray node{"CADASTRADO", "-BenchListener", "LAST"};

    std::vector<Clock::time_point> sent(Writes);
    std::vector<Clock::time_point> answered(Writes);
    std::vector<Clock::time_point> delivered(Writes);
    int received = 0;
    int outOfOrder = 0;
    int expectedNext = 0;
    bool initial = true;
    std::string error;
    auto handle = listening->ListenForValueEvents(
        node,
        [&](const std::string &Name, const TStringDynArray &, const TJSONValue &Object) {
            const auto now = Clock::now();
            if (initial) {
                initial = false;
                return;
            }
            const auto &data = Object.at("data");
            if (Name != "patch" || !data.contains("Serie")) {
                error = "unexpected event " + Name + " " + Object.dump();
                return;
            }
            const int seq = std::stoi(data.at("Serie").get<std::string>());
            if (seq != expectedNext)
                ++outOfOrder;
            expectedNext = seq + 1;
            if (seq >= 0 && seq < Writes)
                delivered[seq] = now;
            ++received;
        },
        nullptr,
        [&](const std::string &RequestID, const std::string &Message) {
            error = RequestID + ": " + Message;
        });
    if (!dispatcher->PumpUntil([&] { return !initial; }, std::chrono::seconds(10))) {
        std::fprintf(stderr, "The listener did not connect\n");
        return EXIT_FAILURE;
    }

    std::atomic<bool> writerFailed{false};
    const auto start = Clock::now();
    std::thread writer([&] {
        try {
            for (int seq = 0; seq < Writes; ++seq) {
                sent[seq] = Clock::now();
                writing->PatchSynchronous(node, TJSONValue{{"Serie", std::to_string(seq)}});
                answered[seq] = Clock::now();
            }
        } catch (const std::exception &e) {
            std::fprintf(stderr, "Write failed: %s\n", e.what());
            writerFailed = true;
        }
    });
    dispatcher->PumpUntil([&] { return received >= Writes || writerFailed || !error.empty(); }, Patience);
    const auto end = Clock::now();
    writer.join();
    handle->StopListening("");
    dispatcher->ProcessPending();

    // The cloud sends the event before it answers the write, so the delay from the answer is
    // mostly negative; the delay from the moment the write was sent is printed beside it.
    std::vector<double> fromAnswer;
    std::vector<double> fromSend;
    for (int seq = 0; seq < Writes; ++seq)
        if (delivered[seq] != Clock::time_point{} && answered[seq] != Clock::time_point{}) {
            fromAnswer.push_back(Milliseconds(delivered[seq] - answered[seq]));
            fromSend.push_back(Milliseconds(delivered[seq] - sent[seq]));
        }
    const double seconds = Milliseconds(end - start) / 1000;

    std::printf("Listener benchmark: %d patches written by a second client to the local cloud on loopback\n",
                Writes);
    std::printf("  events delivered      %d of %d, %s\n", received, Writes,
                outOfOrder == 0 ? "all in order" : (std::to_string(outOfOrder) + " out of order").c_str());
    std::printf("  events per second     %.0f (%.2f s from the first write to the last event)\n",
                received / seconds, seconds);
    const std::pair<const char *, const std::vector<double> *> series[] = {{"write answer", &fromAnswer},
                                                                           {"write sent", &fromSend}};
    for (const auto &[label, delays] : series)
        std::printf("  delay, %-12s to callback (ms): p50 %7.3f  p99 %7.3f  max %7.3f\n", label,
                    Percentile(*delays, 0.5), Percentile(*delays, 0.99),
                    delays->empty() ? 0 : *std::max_element(delays->begin(), delays->end()));
    if (!error.empty())
        std::printf("  error: %s\n", error.c_str());
    listening.reset();
    SetMainThreadDispatcher(nullptr);
    return received == Writes && outOfOrder == 0 && error.empty() ? EXIT_SUCCESS : EXIT_FAILURE;
}
