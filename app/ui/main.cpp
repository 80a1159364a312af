// The program: one main window, the default theme, the cloud client bound to the event loop,
// and the desktop's additions beside the window.
#include "Cumulo/MainThread.h"
#include "Cumulo/WorkerThreads.h"
#include "Player/WmpOptions.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/ProgramCommandLine.h"
#include "app/desktop/DesktopIntegration.h"
#include "app/desktop/MainWindowControl.h"
#include "app/desktop/SingleInstance.h"
#include "app/ui/FormRadio.h"
#include "app/ui/MessageDialogs.h"
#include "app/ui/QtMainThreadDispatcher.h"
#include "app/ui/TerminationRequest.h"
#include "app/ui/ThemeManager.h"
#include "app/ui/TunewellApplication.h"
#include "app/ui/WmpStationPlayer.h"
#include "shared/core/WindowCloudCumuloClients.h"
#include "shared/ui/WindowFonts.h"

#include <QDBusConnection>

int main(int argc, char *argv[]) {
    using namespace Tunewell;
    // Help and version need no display, so they are answered before the application object exists.
    if (const auto Answer = AnswerCommandLine(CommandLineArguments(argc, argv)); Answer && !Answer->Refused())
        return PrintCommandLineAnswer(*Answer);
    TunewellApplication application(argc, argv);
    if (const auto Answer = AnswerCommandLine(QApplication::arguments()))
        return PrintCommandLineAnswer(*Answer);
    // A second start shows the first one's window and ends before it reaches the cloud.
    SingleInstance instance(QDBusConnection::sessionBus());
    if (!instance.Claim())
        return 0;
    UseTahoma();
    QApplication::setApplicationName(QStringLiteral("Tunewell"));
    QApplication::setDesktopFileName(QStringLiteral("tunewell"));
    Cumulo::SetMainThreadDispatcher(std::make_shared<QtMainThreadDispatcher>());

    MessageDialogs dialogs;
    application.ShowErrorsThrough(&dialogs);
    ThemeManager::Apply(ThemeManager::DefaultTheme(), &dialogs);
    WindowEnvironment environment{dialogs, std::make_shared<WindowCloudCumuloClients>()};
    auto player = std::make_unique<WmpStationPlayer>(Player::WmpOptions{});
    Player::Wmp &wmp = player->Control();
    TFormRadio FormRadio(environment, std::move(player), CreateChildWindow);
    FormRadio.UseKeptCatalogue(std::make_shared<KeptCatalogue>(KeptCatalogue::DefaultFilePath()));
    DesktopIntegration desktop(FormRadio, wmp, QDBusConnection::sessionBus());
    instance.OnActivate([&desktop] { desktop.Control().Raise(); });
    // Deleting the profile starts a new instance: it must find both names free.
    dialogs.BeforeNewInstance([&desktop, &instance] {
        desktop.LeaveTheBus();
        instance.Release();
    });
    TerminationRequest termination([&desktop] { desktop.Control().Quit(); });
    FormRadio.show();
    // The cloud client's workers end before the window, the event loop and the libraries go.
    return Cumulo::EndAfterRunningRequests(application.exec());
}
