// Soak of the local cloud on loopback, under the program's own security rules: writers mark
// favourites of their own in one profile's FAVORITOS while listeners of the cloud client follow
// the whole node, and the server is killed with SIGKILL and restarted a few times. Afterwards every
// acknowledged write must be in the database, and every listener must have reconnected (with its own
// back-off) and see what the database holds. Prints the figures and the server's resident memory over time;
// exits non-zero on a failure.

#include "Cumulo/Authentication.h"
#include "Cumulo/Interfaces.h"
#include "Cumulo/Log.h"
#include "Cumulo/QueueDispatcher.h"
#include "Cumulo/RealTimeDB.h"
#include "ListenerView.h"
#include "LocalCloud.h"
#include "ServerMemory.h"
#include "ServiceAccount.h"
#include "SoakOptions.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>
#include <vector>

using namespace Cumulo;
using Clock = std::chrono::steady_clock;

namespace {

const TStringDynArray Node{"CADASTRADO", "-Soak", "FAVORITOS"};
constexpr auto ConvergencePatience = std::chrono::seconds(120);
constexpr auto SamplePeriod = std::chrono::seconds(15);

std::shared_ptr<TFirebaseAuthentication> SignedIn(const TunewellTesting::LocalCloud &Cloud) {
    return TunewellTesting::SignedInServiceAccount({Cloud.identityUrl(), Cloud.tokenUrl()});
}

std::shared_ptr<TRealTimeDB> SignedInClient(const TunewellTesting::LocalCloud &Cloud) {
    return std::make_shared<TRealTimeDB>(SignedIn(Cloud), Cloud.databaseUrl());
}

// A station series of the writer's own: sparse enough that the node stays an object.
std::string FavouriteName(int Writer, int Seq) {
    return std::to_string((Writer + 1) * 1'000'000 + Seq);
}

struct WriterRecord {
    std::vector<int> acknowledged;
    int failed = 0;
};

// Patches {"<the writer's series for seq>": "1"} into the node until told to stop or the count is
// reached. A write
// counts only once the cloud answered it; a failed one is not repeated (its seq may or may not
// have been stored, which the check allows).
void Write(TRealTimeDB &Client, int Writer, const SoakOptions &Options, const std::atomic<bool> &Stop,
           WriterRecord &Record) {
    for (int seq = 0; !Stop && static_cast<int>(Record.acknowledged.size()) < Options.writesPerWriter;
         ++seq) {
        try {
            Client.PatchSynchronous(Node, TJSONValue{{FavouriteName(Writer, seq), "1"}});
            Record.acknowledged.push_back(seq);
        } catch (const std::exception &) {
            ++Record.failed;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        std::this_thread::sleep_for(Options.pause);
    }
}

// A reading of the server's resident memory; each restart begins a new process, so a reading
// says which of the server's lives it belongs to.
struct MemorySample {
    double seconds;
    int life;
    long kib;
};

double SecondsSince(Clock::time_point Start) {
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

} // namespace

int main(int argc, char **argv) {
    const SoakOptions options = ParseSoakOptions(argc, argv);
    // Thousands of request lines would measure the terminal.
    SetLogSink([](const std::string &) {});
    auto dispatcher = std::make_shared<TQueueDispatcher>();
    SetMainThreadDispatcher(dispatcher);

    TunewellTesting::LocalCloud cloud;
    cloud.seed("CADASTRADO/-Soak/FAVORITOS", {{"11111", "2"}});

    // A client holds one listening session, as the program does; the listeners share a sign-in.
    const auto listeningAuth = SignedIn(cloud);
    auto listening = std::make_shared<TRealTimeDB>(listeningAuth, cloud.databaseUrl());
    std::vector<std::shared_ptr<TRealTimeDB>> listeningClients;
    std::vector<ListenerView> views(static_cast<std::size_t>(options.listeners));
    std::vector<std::shared_ptr<IFirebaseEvent>> handles;
    int listenerErrors = 0;
    int listenerStops = 0;
    for (auto &view : views) {
        listeningClients.push_back(std::make_shared<TRealTimeDB>(listeningAuth, cloud.databaseUrl()));
        handles.push_back(listeningClients.back()->ListenForValueEvents(
            Node,
            [&view](const std::string &Event, const TStringDynArray &, const TJSONValue &Object) {
                view.Apply(Event, Object);
            },
            [&listenerStops] { ++listenerStops; },
            [&listenerErrors](const std::string &, const std::string &) { ++listenerErrors; }));
    }
    const auto allConnected = [&](int Times) {
        return std::all_of(views.begin(), views.end(),
                           [Times](const ListenerView &v) { return v.Connections() >= Times; });
    };
    if (!dispatcher->PumpUntil([&] { return allConnected(1); }, std::chrono::seconds(180))) {
        const auto connected = std::count_if(views.begin(), views.end(),
                                             [](const ListenerView &v) { return v.Connections() > 0; });
        std::fprintf(stderr, "Only %ld of %d listeners connected within 180 s\n",
                     static_cast<long>(connected), options.listeners);
        return EXIT_FAILURE;
    }

    std::vector<std::shared_ptr<TRealTimeDB>> writingClients;
    for (int w = 0; w < options.writers; ++w) {
        writingClients.push_back(SignedInClient(cloud));
    }
    std::vector<WriterRecord> records(static_cast<std::size_t>(options.writers));
    std::atomic<bool> stopWriting{false};
    std::vector<std::thread> writers;
    const auto start = Clock::now();
    for (int w = 0; w < options.writers; ++w) {
        writers.emplace_back([&, w] { Write(*writingClients[w], w, options, stopWriting, records[w]); });
    }

    // The main thread delivers the listeners' events, kills and restarts the server on schedule,
    // and samples its memory.
    std::vector<MemorySample> memory{{0, 1, ResidentKiB(cloud.pid())}};
    std::vector<double> downtimes;
    auto nextSample = start + SamplePeriod;
    int killsDone = 0;
    while (Clock::now() - start < options.duration) {
        dispatcher->PumpUntil([] { return false; }, std::chrono::milliseconds(200));
        const auto elapsed = Clock::now() - start;
        if (killsDone < options.kills &&
            elapsed >= options.duration * (killsDone + 1) / (options.kills + 1)) {
            memory.push_back({SecondsSince(start), killsDone + 1, ResidentKiB(cloud.pid())});
            const auto down = Clock::now();
            cloud.kill();
            dispatcher->PumpUntil([] { return false; }, std::chrono::seconds(1));
            cloud.start();
            downtimes.push_back(SecondsSince(down));
            ++killsDone;
            std::printf("  %6.1f s  server killed and restarted (%d of %d)\n", SecondsSince(start), killsDone,
                        options.kills);
            std::fflush(stdout);
        }
        if (Clock::now() >= nextSample) {
            memory.push_back({SecondsSince(start), killsDone + 1, ResidentKiB(cloud.pid())});
            nextSample += SamplePeriod;
        }
    }
    stopWriting = true;
    for (auto &writer : writers) {
        writer.join();
    }
    const double writingSeconds = SecondsSince(start);
    memory.push_back({writingSeconds, killsDone + 1, ResidentKiB(cloud.pid())});

    // The database after the last write, compared with what the writers were told and what the
    // listeners see.
    const auto stored = listening->GetSynchronous(Node);
    const auto database = nlohmann::json::parse(stored ? stored->dump() : "null");
    long acknowledged = 0;
    long failed = 0;
    long lost = 0;
    for (int w = 0; w < options.writers; ++w) {
        failed += records[w].failed;
        for (const int seq : records[w].acknowledged) {
            ++acknowledged;
            const auto favourite = database.find(FavouriteName(w, seq));
            if (favourite == database.end() || *favourite != "1") {
                ++lost;
            }
        }
    }
    const auto convergeStart = Clock::now();
    const auto converged = [&] {
        return allConnected(killsDone + 1) &&
               std::all_of(views.begin(), views.end(),
                           [&](const ListenerView &v) { return v.Value() == database; });
    };
    const bool allConverged = dispatcher->PumpUntil(converged, ConvergencePatience);
    const double convergeSeconds = SecondsSince(convergeStart);
    const auto matching = std::count_if(views.begin(), views.end(),
                                        [&](const ListenerView &v) { return v.Value() == database; });
    const auto reconnected = std::count_if(
        views.begin(), views.end(), [&](const ListenerView &v) { return v.Connections() >= killsDone + 1; });
    long events = 0;
    for (const auto &view : views) {
        events += view.Events();
    }
    // Stops until here were failures; the ones asked for now are not.
    const int unexpectedStops = listenerStops;
    for (auto &handle : handles) {
        handle->StopListening("");
    }
    dispatcher->ProcessPending();
    memory.push_back({SecondsSince(start), killsDone + 1, ResidentKiB(cloud.pid())});

    std::printf("Soak of the local cloud: %d writers, %d listeners, %.0f s, %d SIGKILL restarts\n",
                options.writers, options.listeners, writingSeconds, killsDone);
    std::printf("  writes acknowledged   %ld (%.1f per second), failed while the server was down %ld\n",
                acknowledged, acknowledged / writingSeconds, failed);
    std::printf("  acknowledged writes lost  %ld\n", lost);
    std::printf("  listeners reconnected %ld of %d (every restart), listener errors reported %d, unexpected "
                "stops %d\n",
                static_cast<long>(reconnected), options.listeners, listenerErrors, unexpectedStops);
    std::printf("  listeners whose view equals the database  %ld of %d, %s in %.1f s after the last write\n",
                static_cast<long>(matching), options.listeners, allConverged ? "converged" : "NOT converged",
                convergeSeconds);
    std::printf("  events applied by all listeners %ld\n", events);
    double longestDown = 0;
    for (const double d : downtimes) {
        longestDown = std::max(longestDown, d);
    }
    std::printf("  server down per restart (kill, 1 s, start) at most %.1f s\n", longestDown);
    std::printf("  server resident memory (MiB) over time, by server process (1 = first start):\n");
    for (const auto &sample : memory) {
        std::printf("    %7.1f s  process %d  %8.1f\n", sample.seconds, sample.life, sample.kib / 1024.0);
    }
    SetMainThreadDispatcher(nullptr);
    const bool passed = lost == 0 && allConverged && unexpectedStops == 0;
    std::printf("  %s\n", passed ? "passed" : "FAILED");
    return passed ? EXIT_SUCCESS : EXIT_FAILURE;
}
