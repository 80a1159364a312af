// One run of the network benchmark (bench/network/run): the main window, built as the program's
// main() builds it, against a local cloud behind the fault-making peer; then one phase:
//   start   from the launch until SETTLE after the first run of the cloud sequence ended, or
//           until CAP after the launch: the UI thread's longest stall from the window's map, the
//           last station playing, the cloud's catalogue shown, the first notice shown, the
//           status line at the end, the message boxes, the connections the peer accepted;
//   reload  once started (the peer passing everything), the peer turned to FAULT; then with the
//           station playing, paused and stopped in turn: a child window opened and closed, and
//           until SETTLE after the reload ended (or CAP after the opening) the longest stall,
//           the reload's time, the playback before and after, the connections;
//   close   once started, the peer turned to FAULT; then the close request, and the time until
//           the window is gone (the script takes the process's end from the program itself).
// A phase still running at its cap, the UI thread stuck in a wait, is ended by a thread of its
// own, which prints what is known with "capped: yes". Figures are "name: value" lines; times of
// the start count from the process's start.
#include "BenchFigures.h"
#include "Cumulo/MainThread.h"
#include "EventLoopWait.h"
#include "FaultPeerControl.h"
#include "NetworkBenchOptions.h"
#include "PhaseCap.h"
#include "Player/Wmp.h"
#include "Player/WmpOptions.h"
#include "ProcessStart.h"
#include "RecordingDialogs.h"
#include "UiStallProbe.h"
#include "app/core/KeptCatalogue.h"
#include "app/desktop/DesktopIntegration.h"
#include "app/desktop/MainWindowControl.h"
#include "app/ui/FormRadio.h"
#include "app/ui/QtMainThreadDispatcher.h"
#include "app/ui/StatusNotice.h"
#include "app/ui/ThemeManager.h"
#include "app/ui/TunewellApplication.h"
#include "app/ui/WmpStationPlayer.h"
#include "shared/core/Registro.h"
#include "shared/core/WindowCloudCumuloClients.h"
#include "shared/ui/WindowFonts.h"

#include <QDBusConnection>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

using namespace Tunewell;
using namespace TunewellBench;
using namespace std::chrono_literals;

// The program's seams this benchmark stands on. Pointing it at a reworked window is a change of
// these lines (and of main()'s building, which follows app/ui/main.cpp).
namespace Seams {
// A run of the window's cloud sequence ended, completed or not: at the start, and after each
// child window closed.
constexpr auto SequenceFinished = &TFormRadio::StartUpSequenceFinished;
// The catalogue read from the cloud was kept on disk.
constexpr auto CatalogueKept = &TFormRadio::CatalogueKept;
// The status-bar line naming the catalogue shown; empty while it is the cloud's own.
QString StatusLine(const TFormRadio &Form) {
    return Form.CloudNotice()->Line();
}
// The stations in the grid's table.
int Stations(const TFormRadio &Form) {
    return Form.cdsRadios.RowCount();
}
// A child window opened from the menu; the window's factory (ChildWindowFactory, main()'s
// CreateChildWindow) here makes one that closes itself.
void OpenChildWindow(TFormRadio &Form) {
    Form.About1Click();
}
// The close request: the desktop's Quit, which the Quit item, the media interface and SIGTERM
// use, the one way the program closes its main window for good.
void RequestClose(DesktopIntegration &Desktop) {
    Desktop.Control().Quit();
}
// The player: Player::Wmp, as WmpStationPlayer::Control() gives it; its playStateChanged,
// playState(), URL() and controls().
} // namespace Seams

// How long the child window stays open.
constexpr auto kChildWindowOpen = 100ms;
// Before the reloads or the close: the start's sequence ended, its catalogue kept, then this.
constexpr auto kReadyPause = 1000ms;
// How long a playback state may take to be reached before a reload.
constexpr auto kPlaybackChange = 5000ms;
// The playback a reload finds, in turn.
constexpr std::array kPlaybackBeforeReload{Player::PlaybackState::Playing, Player::PlaybackState::Paused,
                                           Player::PlaybackState::Stopped};
// The cap's thread fires this late, so a UI thread that is free ends the phase itself.
constexpr auto kCapMargin = 250ms;

bool Starting(Player::PlaybackState State) {
    return State == Player::PlaybackState::Connecting || State == Player::PlaybackState::Buffering ||
           State == Player::PlaybackState::Reconnecting;
}

const char *PlaybackName(Player::PlaybackState State) {
    switch (State) {
    case Player::PlaybackState::Playing:
        return "playing";
    case Player::PlaybackState::Paused:
        return "paused";
    case Player::PlaybackState::Stopped:
        return "stopped";
    case Player::PlaybackState::Failed:
        return "failed";
    default:
        return "starting";
    }
}

void ChangePlayback(Player::Wmp &Wmp, Player::PlaybackState State) {
    if (State == Player::PlaybackState::Paused)
        Wmp.controls().pause();
    else if (State == Player::PlaybackState::Stopped)
        Wmp.controls().stop();
    else if (Wmp.playState() != Player::PlaybackState::Playing)
        Wmp.controls().play();
}

// The connections the peer accepted on each port, or -1s when it did not answer.
std::array<long long, 2> PeerConnections(int ControlPort) {
    std::array<long long, 2> counts{-1, -1};
    try {
        std::istringstream answer(AskFaultPeer(ControlPort, "connections"));
        std::string database, identity;
        answer >> database >> counts[0] >> identity >> counts[1];
    } catch (const EFaultPeerControl &) {
    }
    return counts;
}

std::string ConnectionsSince(int ControlPort, const std::array<long long, 2> &Before) {
    const auto now = PeerConnections(ControlPort);
    if (now[0] < 0 || Before[0] < 0)
        return "?";
    return std::to_string(now[0] - Before[0]) + "+" + std::to_string(now[1] - Before[1]);
}

} // namespace

int main(int argc, char **argv) {
    QElapsedTimer clock;
    clock.start();
    const qint64 origin = MillisecondsSinceProcessStart();
    const auto sinceLaunch = [&] { return origin + clock.elapsed(); };
    const std::optional<NetworkBenchOptions> parsed = ParseNetworkBenchOptions(argc, argv);
    if (!parsed) {
        std::fputs(kNetworkBenchUsage, stderr);
        return 2;
    }
    const NetworkBenchOptions &options = *parsed;
    using TPhase = NetworkBenchOptions::TPhase;
    BenchFigures figures;
    PhaseCap cap;

    // As main() builds the program, but for the dialogs, which record instead of waiting for a
    // click, the sound, which goes nowhere, and the child windows, which close themselves.
    TunewellApplication application(argc, argv);
    UseTahoma();
    QApplication::setApplicationName(QStringLiteral("Tunewell"));
    QApplication::setDesktopFileName(QStringLiteral("tunewell"));
    Cumulo::SetMainThreadDispatcher(std::make_shared<QtMainThreadDispatcher>());
    GravarRegistro("Firebase", "", "Registrado", QString::fromStdString(options.ProfileID));
    RecordingDialogs dialogs(figures);
    application.ShowErrorsThrough(&dialogs);
    ThemeManager::Apply(ThemeManager::DefaultTheme(), &dialogs);
    WindowEnvironment environment{dialogs, std::make_shared<WindowCloudCumuloClients>()};
    Player::WmpOptions playerOptions;
    // In time with the clock, as a sound card plays: a sink that is not would end the stream at
    // once and the player would reconnect it.
    playerOptions.audioSink = QStringLiteral("fakesink sync=true");
    auto player = std::make_unique<WmpStationPlayer>(playerOptions);
    Player::Wmp &wmp = player->Control();

    UiStallProbe probe;
    qint64 childClosedAt = -1;
    auto closingChild = [&](ChildWindow, TFormRadio &Main) {
        auto child = std::make_unique<QDialog>(&Main);
        QTimer::singleShot(kChildWindowOpen, child.get(), &QDialog::accept);
        QObject::connect(child.get(), &QDialog::finished, [&] {
            childClosedAt = sinceLaunch();
            probe.Begin();
        });
        return child;
    };
    TFormRadio FormRadio(environment, std::move(player), closingChild);
    FormRadio.UseKeptCatalogue(std::make_shared<KeptCatalogue>(KeptCatalogue::DefaultFilePath()));
    // The run, not the close, ends the event loop.
    DesktopOptions desktopOptions;
    desktopOptions.EndProgram = [] {};
    DesktopIntegration desktop(FormRadio, wmp, QDBusConnection::sessionBus(), std::move(desktopOptions));

    // What the window shows, looked at on every tick of the probe and at each sequence's end.
    int sequencesEnded = 0;
    qint64 sequenceEndedAt = -1;
    bool kept = false;
    bool starting = true;
    std::string prefix;
    QString status = QStringLiteral("?");
    qint64 noticeAt = -1;
    qint64 cloudShownAt = -1;
    auto look = [&] {
        const QString line = Seams::StatusLine(FormRadio);
        if (line != status) {
            status = line;
            figures.Set(prefix + "status at end", line.isEmpty() ? "(none)" : line.toStdString());
        }
        if (!starting)
            return;
        if (!line.isEmpty() && noticeAt < 0)
            figures.Set("notice shown", noticeAt = sinceLaunch());
        if (line.isEmpty() && Seams::Stations(FormRadio) > 0 && cloudShownAt < 0)
            figures.Set("cloud catalogue shown", cloudShownAt = sinceLaunch());
    };
    QObject::connect(&probe, &UiStallProbe::Ticked, look);
    QObject::connect(&FormRadio, Seams::SequenceFinished, [&] {
        ++sequencesEnded;
        sequenceEndedAt = sinceLaunch();
        if (starting && sequencesEnded == 1)
            figures.Set("sequence ended", sequenceEndedAt);
        look();
    });
    QObject::connect(&FormRadio, Seams::CatalogueKept, [&] { kept = true; });
    bool played = false;
    // Whether the player connected to a stream anew since the last child window closed.
    bool restarted = false;
    QObject::connect(&wmp, &Player::Wmp::playStateChanged, [&](Player::PlaybackState State) {
        if (State == Player::PlaybackState::Playing && !played) {
            played = true;
            figures.Set("last station playing", sinceLaunch());
        }
        if (childClosedAt >= 0 && State == Player::PlaybackState::Connecting)
            restarted = true;
    });

    // The start, from the window's map.
    const int control = options.ControlPort;
    const bool startOnly = options.Phase == TPhase::Start;
    const auto settle = startOnly ? options.Settle : std::chrono::milliseconds(kReadyPause);
    const qint64 startCapAt = options.Cap.count();
    auto endStart = [&](bool Capped) {
        figures.Set("longest stall", probe.LongestMs());
        const auto accepted = PeerConnections(control);
        figures.Set("connections",
                    accepted[0] < 0 ? "?" : std::to_string(accepted[0]) + "+" + std::to_string(accepted[1]));
        figures.Set("capped", Capped ? "yes" : "no");
    };
    figures.Set("status at end", "(none)");
    FormRadio.show();
    probe.Begin();
    cap.Arm(std::chrono::milliseconds(startCapAt - sinceLaunch()) + kCapMargin, [&] {
        endStart(true);
        figures.Print();
    });
    // Ended: settled after the sequence and, when the cloud's catalogue was shown, that kept.
    WaitUntil(
        [&] {
            return sinceLaunch() >= startCapAt ||
                   (sequencesEnded > 0 && sinceLaunch() >= sequenceEndedAt + settle.count() &&
                    (kept || cloudShownAt < 0));
        },
        std::chrono::milliseconds(startCapAt));
    cap.Disarm();
    const bool startCapped = sinceLaunch() >= startCapAt;
    endStart(startCapped);
    starting = false;
    // The run ends at once when its figures are printed: its close is not measured, and main()'s
    // end would wait for what the window still has under way.
    if (startOnly || startCapped || !status.isEmpty()) {
        figures.Print();
        std::_Exit(startOnly ? 0 : 1);
    }
    figures.Set("fault", AskFaultPeer(control, "mode " + options.Fault));

    if (options.Phase == TPhase::Close) {
        const auto accepted = PeerConnections(control);
        QElapsedTimer closing;
        qint64 gone = -1;
        QObject::connect(FormRadio.windowHandle(), &QWindow::visibleChanged, [&](bool Visible) {
            if (!Visible && gone < 0)
                gone = closing.elapsed();
        });
        cap.Arm(options.Cap + kCapMargin, [&, accepted] {
            figures.Set("close connections", ConnectionsSince(control, accepted));
            figures.Set("capped", "yes");
            figures.Print();
        });
        QTimer::singleShot(0, &FormRadio, [&] {
            closing.start();
            Seams::RequestClose(desktop);
        });
        WaitUntil([&] { return gone >= 0; }, options.Cap);
        cap.Disarm();
        figures.Set("close window gone", gone);
        figures.Set("close connections", ConnectionsSince(control, accepted));
        figures.Set("capped", gone < 0 ? "yes" : "no");
    } else {
        for (const Player::PlaybackState want : kPlaybackBeforeReload) {
            prefix = std::string("reload ") + PlaybackName(want) + " ";
            ChangePlayback(wmp, want);
            WaitUntil([&] { return wmp.playState() == want; }, kPlaybackChange);
            const std::string before = PlaybackName(wmp.playState());
            const QString url = wmp.URL();
            const auto accepted = PeerConnections(control);
            const int ended = sequencesEnded;
            figures.Set(prefix + "status at end", status.isEmpty() ? "(none)" : status.toStdString());
            const qint64 capAt = sinceLaunch() + options.Cap.count();
            cap.Arm(options.Cap + kCapMargin, [&, accepted] {
                figures.Set(prefix + "stall", probe.LongestMs());
                figures.Set(prefix + "reload", "capped");
                figures.Set(prefix + "connections", ConnectionsSince(control, accepted));
                figures.Set("capped", "yes");
                figures.Print();
            });
            childClosedAt = -1;
            restarted = false;
            QTimer::singleShot(0, &FormRadio, [&] { Seams::OpenChildWindow(FormRadio); });
            WaitUntil(
                [&] {
                    return sinceLaunch() >= capAt ||
                           (sequencesEnded > ended &&
                            sinceLaunch() >= sequenceEndedAt + options.Settle.count());
                },
                options.Cap);
            cap.Disarm();
            const bool reloaded = sequencesEnded > ended && childClosedAt >= 0;
            figures.Set(prefix + "stall", probe.LongestMs());
            figures.Set(prefix + "reload",
                        reloaded ? std::to_string(sequenceEndedAt - childClosedAt) : "not ended");
            // A stream being started again is given its time to play before it is looked at.
            WaitUntil([&] { return !Starting(wmp.playState()); }, kPlaybackChange);
            figures.Set(prefix + "playback", before + " -> " + PlaybackName(wmp.playState()) +
                                                 (restarted ? " (restarted)" : "") +
                                                 (wmp.URL() == url ? "" : " (another station)"));
            figures.Set(prefix + "connections", ConnectionsSince(control, accepted));
        }
    }
    figures.Print();
    std::_Exit(0);
}
