// Times the main window's start-up against a running local cloud: from the window's creation to
// the catalogue shown (end of the start-up sequence) and to the last station playing; then the
// sort of the whole catalogue by name; then the process's peak memory.
// Usage: startup-bench LAST_SERIE (the emulator host variables name the cloud).
#include "Cumulo/MainThread.h"
#include "Player/Wmp.h"
#include "Player/WmpOptions.h"
#include "app/core/StationTable.h"
#include "app/core/WindowCloud.h"
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
#include <sys/resource.h>

namespace {

class SilentLog : public Tunewell::IWindowCloudLog {
public:
    void AddLine(const std::string &) override {}
    void Clear() override {}
};

// The profile whose last station the window plays at start.
void SeedProfile(const std::string &LastSerie) {
    SilentLog log;
    Tunewell::WindowCloud cloud(log, Tunewell::WindowCloudRole::Other,
                                std::make_shared<Tunewell::WindowCloudCumuloClients>());
    if (!cloud.SignIn().Succeeded)
        throw std::runtime_error("cannot sign in to the local cloud");
    cloud.Put({"CADASTRADO", "-Bench", "LAST"}, {{"Serie", LastSerie}});
    cloud.Put({"CADASTRADO", "-Bench", "FAVORITOS"}, {{"11111", "2"}});
    Tunewell::GravarRegistro("Firebase", "", "Registrado", "-Bench");
}

} // namespace

int main(int argc, char **argv) {
    using namespace Tunewell;
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup-bench LAST_SERIE\n");
        return 2;
    }
    QApplication application(argc, argv);
    Cumulo::SetMainThreadDispatcher(std::make_shared<QtMainThreadDispatcher>());
    SeedProfile(argv[1]);

    QElapsedTimer clock;
    clock.start();
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
            shown = clock.elapsed();
        if (playing >= 0)
            application.quit();
    });
    QObject::connect(&wmp, &Player::Wmp::playStateChanged, [&](Player::PlaybackState state) {
        if (state == Player::PlaybackState::Playing && playing < 0) {
            playing = clock.elapsed();
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
    std::printf("catalogue shown: %lld ms after the window was created\n", static_cast<long long>(shown));
    std::printf("last station playing: %lld ms after the window was created\n",
                static_cast<long long>(playing));
    std::printf("sort by name: %lld ms\n", static_cast<long long>(sorted));
    std::printf("peak memory: %ld MiB\n", usage.ru_maxrss / 1024);
    form.hide();
    return shown >= 0 && playing >= 0 ? 0 : 1;
}
