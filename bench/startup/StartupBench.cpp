// Times the main window's start-up against a running local cloud: from the process's start to
// the catalogue shown (end of the start-up sequence) and to the last station playing, and the
// processor time spent until each; then the sort of the whole catalogue by each column; then a
// reload of the catalogue while sorted (the start-up sequence run again, as after a child window
// closes); and the process's peak memory. The catalogue is kept in the cache folder as the
// program keeps it, and the time that takes after the catalogue is shown is a figure of its own;
// with the cloud stopped, the run shows the kept catalogue instead.
// Usage: startup-bench PROFILE_ID [--no-reuse] (the build values or the emulator host variables
// name the cloud, which holds the profile's last station; --no-reuse makes every request open a
// connection of its own, for bench/startup/far-cloud's comparison). The desktop's additions are
// made as the program makes them, on the session bus the scripts give the program, with a tray.
// Every figure is one "name: value" line, for bench/startup/run to gather.
#include "Cumulo/HttpTransport.h"
#include "Cumulo/Log.h"
#include "Cumulo/MainThread.h"
#include "Player/Wmp.h"
#include "Player/WmpOptions.h"
#include "ProcessStart.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/StationTable.h"
#include "app/desktop/DesktopIntegration.h"
#include "app/ui/FormRadio.h"
#include "app/ui/MessageDialogs.h"
#include "app/ui/OrdenarTituloGrid.h"
#include "app/ui/QtMainThreadDispatcher.h"
#include "app/ui/StationTableModel.h"
#include "app/ui/StatusNotice.h"
#include "app/ui/WmpStationPlayer.h"
#include "shared/core/Registro.h"
#include "shared/core/WindowCloudCumuloClients.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace {

// The process's peak resident memory so far (VmHWM), in KiB.
long PeakKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The processor time the process has spent so far, its threads' included, in milliseconds.
long long CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &Time) { return Time.tv_sec * 1000LL + Time.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void Figure(const char *Name, long long Value, const char *Unit) {
    std::printf("%s: %lld %s\n", Name, Value, Unit);
}

// Counts the requests the cloud client sends from now on, from its log, where each one has a line.
std::shared_ptr<std::atomic<long long>> CountRequests() {
    auto sent = std::make_shared<std::atomic<long long>>(0);
    Cumulo::SetLogSink([sent](const std::string &Line) {
        if (Line.rfind(" Request: ", 0) == 0)
            ++*sent;
    });
    return sent;
}

} // namespace

int main(int argc, char **argv) {
    using namespace Tunewell;
    const bool reuse = !(argc == 3 && std::strcmp(argv[2], "--no-reuse") == 0);
    if (argc != 2 && reuse) {
        std::fprintf(stderr, "usage: startup-bench PROFILE_ID [--no-reuse]\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const qint64 origin = TunewellBench::MillisecondsSinceProcessStart();
    QApplication application(argc, argv);
    Cumulo::SetMainThreadDispatcher(std::make_shared<QtMainThreadDispatcher>());
    Cumulo::THttpTransport::Shared().SetConnectionReuse(reuse);
    const auto requestsSent = CountRequests();
    GravarRegistro("Firebase", "", "Registrado", argv[1]);

    MessageDialogs dialogs;
    Player::WmpOptions options;
    options.audioSink = QStringLiteral("fakesink sync=false");
    auto player = std::make_unique<WmpStationPlayer>(options);
    Player::Wmp &wmp = player->Control();
    TFormRadio form(WindowEnvironment{dialogs, std::make_shared<WindowCloudCumuloClients>()},
                    std::move(player), {});
    DesktopOptions desktopOptions;
    desktopOptions.TrayAvailable = true;
    DesktopIntegration desktop(form, wmp, QDBusConnection::sessionBus(), desktopOptions);
    const auto kept = std::make_shared<KeptCatalogue>(KeptCatalogue::DefaultFilePath());
    form.UseKeptCatalogue(kept);
    qint64 shown = -1;
    qint64 playing = -1;
    qint64 keptAfter = -1;
    bool offline = false;
    // Done when playing and, unless the catalogue shown is the kept one, kept. A loop of its own:
    // the application's quit would close the window, which ends the program's cloud work for good
    // and leaves the reload below nothing to do.
    QEventLoop startUp;
    auto quitWhenDone = [&] {
        if (shown >= 0 && playing >= 0 && (offline || keptAfter >= 0))
            startUp.quit();
    };
    int runs = 0;
    long long cpuShown = -1;
    long long cpuPlaying = -1;
    long peakShown = -1;
    long long requestsShown = -1;
    QObject::connect(&form, &TFormRadio::StartUpSequenceFinished, [&] {
        ++runs;
        if (shown < 0) {
            shown = origin + clock.elapsed();
            cpuShown = CpuMs();
            peakShown = PeakKiB();
            requestsShown = *requestsSent;
            offline = !form.CloudNotice()->Line().isEmpty();
        }
        quitWhenDone();
    });
    QObject::connect(&form, &TFormRadio::CatalogueKept, [&] {
        if (keptAfter < 0)
            keptAfter = origin + clock.elapsed() - shown;
        quitWhenDone();
    });
    QObject::connect(&wmp, &Player::Wmp::playStateChanged, [&](Player::PlaybackState state) {
        if (state == Player::PlaybackState::Playing && playing < 0) {
            playing = origin + clock.elapsed();
            cpuPlaying = CpuMs();
            quitWhenDone();
        }
    });
    QTimer::singleShot(120000, &startUp, &QEventLoop::quit);
    // The UI thread's longest stall from the show to the end: the gap between two ticks of a
    // short timer, less the timer's own period.
    constexpr qint64 kTick = 5;
    qint64 longestStall = 0;
    QElapsedTimer sinceTick;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longestStall = std::max(longestStall, sinceTick.restart() - kTick); });
    probe.start(kTick);
    sinceTick.start();
    form.show();
    startUp.exec();
    const int stations = form.cdsRadios.RowCount();

    // The write alone, as the window does it after a run, without the repaint queued before it;
    // into a file of its own, so the copy the window kept stays for a run with the cloud stopped.
    qint64 keepWrite = -1;
    if (!offline) {
        const KeptCatalogue scratch(kept->FilePath() + QStringLiteral(".bench"));
        QElapsedTimer keeping;
        keeping.start();
        scratch.Keep(form.cdsRadios.Rows(), KeptProfile{}, std::time(nullptr));
        keepWrite = keeping.elapsed();
        QFile::remove(scratch.FilePath());
    }

    // By name first, from the catalogue's own order; then every other column; then by name
    // again, the order the reload below starts from.
    auto sortBy = [&](int Column) {
        QElapsedTimer sorting;
        sorting.start();
        OrdenarTituloGrid(form.DBGrid1, Column);
        return sorting.elapsed();
    };
    // A sort the listener asks for is timed on its own below, not as a stall of the start.
    probe.stop();
    const qint64 byName = sortBy(1);
    qint64 worstSort = byName;
    std::vector<std::pair<std::string, qint64>> sorts;
    for (int column = 0; column < form.DataSource1->columnCount(); ++column) {
        if (column == 1)
            continue;
        sorts.emplace_back(form.DataSource1->FieldNameOfColumn(column).toStdString(), sortBy(column));
        worstSort = std::max(worstSort, sorts.back().second);
    }
    sortBy(1);

    probe.start(kTick);
    sinceTick.restart();
    QElapsedTimer reloading;
    reloading.start();
    const int runsBefore = runs;
    QEventLoop reloadEnded;
    QObject::connect(&form, &TFormRadio::StartUpSequenceFinished, &reloadEnded, &QEventLoop::quit);
    QTimer::singleShot(120000, &reloadEnded, &QEventLoop::quit);
    form.RunStartUpSequence();
    reloadEnded.exec();
    const qint64 reload = reloading.elapsed();
    const bool reloaded = runs == runsBefore + 1 && form.cdsRadios.RowCount() == stations;

    Figure("stations", stations, "");
    Figure("catalogue shown", shown, "ms after the process started");
    Figure("last station playing", playing, "ms after the process started");
    Figure("requests until catalogue shown", requestsShown, "");
    Figure("CPU time until catalogue shown", cpuShown, "ms");
    Figure("CPU time until last station playing", cpuPlaying, "ms");
    Figure("peak memory at catalogue shown", peakShown / 1024, "MiB");
    if (!offline) {
        Figure("catalogue kept", keptAfter, "ms after the catalogue shown");
        Figure("keeping the catalogue", keepWrite, "ms");
        Figure("kept file", QFileInfo(kept->FilePath()).size() / 1024, "KiB");
    }
    Figure("sort by name", byName, "ms");
    for (const auto &[field, elapsed] : sorts)
        Figure(("sort by " + field).c_str(), elapsed, "ms");
    Figure("slowest sort", worstSort, "ms");
    Figure("reload after sort by name", reload, "ms");
    Figure("longest UI stall, start and reload", longestStall, "ms");
    Figure("peak memory", PeakKiB() / 1024, "MiB");
    form.hide();
    return shown >= 0 && playing >= 0 && reloaded ? 0 : 1;
}
