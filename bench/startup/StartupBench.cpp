// Times the main window's start-up against a running local cloud: from the process's start to
// the catalogue shown (end of the start-up sequence) and to the last station playing; then the
// sort of the whole catalogue by name; then the process's peak memory.
// Usage: startup-bench PROFILE_ID (the emulator host variables name the cloud, which holds the
// profile's last station).
#include "Cumulo/MainThread.h"
#include "Player/Wmp.h"
#include "Player/WmpOptions.h"
#include "app/core/StationTable.h"
#include "app/core/WindowCloudCumuloClients.h"
#include "app/ui/FormRadio.h"
#include "app/ui/MessageDialogs.h"
#include "app/ui/OrdenarTituloGrid.h"
#include "app/ui/QtMainThreadDispatcher.h"
#include "app/ui/WmpStationPlayer.h"
#include "profile/core/Registro.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Milliseconds since this process started, from the kernel's record of its start (10 ms steps).
qint64 SinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    // Field 22, counted from the state (field 3).
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return static_cast<qint64>((uptime - std::stod(field) / sysconf(_SC_CLK_TCK)) * 1000);
}

} // namespace

int main(int argc, char **argv) {
    using namespace Tunewell;
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup-bench PROFILE_ID\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const qint64 origin = SinceProcessStart();
    QApplication application(argc, argv);
    Cumulo::SetMainThreadDispatcher(std::make_shared<QtMainThreadDispatcher>());
    GravarRegistro("Firebase", "", "Registrado", argv[1]);

    MessageDialogs dialogs;
    Player::WmpOptions options;
    options.audioSink = QStringLiteral("fakesink sync=false");
    auto player = std::make_unique<WmpStationPlayer>(options);
    Player::Wmp &wmp = player->Control();
    TFormRadio form(WindowEnvironment{dialogs, std::make_shared<WindowCloudCumuloClients>()},
                    std::move(player), {});
    qint64 shown = -1;
    qint64 playing = -1;
    QObject::connect(&form, &TFormRadio::StartUpSequenceFinished, [&] {
        if (shown < 0)
            shown = origin + clock.elapsed();
        if (playing >= 0)
            application.quit();
    });
    QObject::connect(&wmp, &Player::Wmp::playStateChanged, [&](Player::PlaybackState state) {
        if (state == Player::PlaybackState::Playing && playing < 0) {
            playing = origin + clock.elapsed();
            if (shown >= 0)
                application.quit();
        }
    });
    QTimer::singleShot(120000, &application, &QApplication::quit);
    form.show();
    application.exec();

    QElapsedTimer sorting;
    sorting.start();
    OrdenarTituloGrid(form.DBGrid1, 1);
    const qint64 sorted = sorting.elapsed();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("stations: %d\n", form.cdsRadios.RowCount());
    std::printf("catalogue shown: %lld ms after the process started\n", static_cast<long long>(shown));
    std::printf("last station playing: %lld ms after the process started\n", static_cast<long long>(playing));
    std::printf("sort by name: %lld ms\n", static_cast<long long>(sorted));
    std::printf("peak memory: %ld MiB\n", usage.ru_maxrss / 1024);
    form.hide();
    return shown >= 0 && playing >= 0 ? 0 : 1;
}
