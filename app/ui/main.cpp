// The program: one main window, the default theme, the cloud client bound to the event loop,
// and the desktop's additions beside the window.
#include "Cumulo/Helpers.h"
#include "Cumulo/MainThread.h"
#include "Cumulo/TransportLimits.h"
#include "Cumulo/WorkerThreads.h"
#include "Player/WmpOptions.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/ProgramCommandLine.h"
#include "app/desktop/DesktopIntegration.h"
#include "app/desktop/ImportPreviewDialog.h"
#include "app/desktop/MainWindowControl.h"
#include "app/desktop/SingleInstance.h"
#include "app/history/HistoryStore.h"
#include "app/ui/FormRadio.h"
#include "app/ui/MessageDialogs.h"
#include "app/ui/QtMainThreadDispatcher.h"
#include "app/ui/TerminationRequest.h"
#include "app/ui/ThemeManager.h"
#include "app/ui/TunewellApplication.h"
#include "app/ui/WmpStationPlayer.h"
#include "shared/core/LocalCloudStarter.h"
#include "shared/core/WindowCloudCumuloClients.h"
#include "shared/ui/WindowFonts.h"

#include <QDBusConnection>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

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
    // The main window's close ends the program, once its close record is written or its wait is
    // over; hiding it (to the tray, or as it closes) does not.
    QApplication::setQuitOnLastWindowClosed(false);
    int code = 0;
    {
        WindowEnvironment environment{dialogs, std::make_shared<WindowCloudCumuloClients>()};
        auto player = std::make_unique<WmpStationPlayer>(Player::WmpOptions{});
        Player::Wmp &wmp = player->Control();
        TFormRadio FormRadio(environment, std::move(player), CreateChildWindow);
        FormRadio.UseKeptCatalogue(std::make_shared<KeptCatalogue>(KeptCatalogue::DefaultFilePath()));
        // A build for the program's own local cloud starts it when nothing answers there.
        if (auto localCloud = LocalCloudStarter::ForThisProgram())
            FormRadio.UseLocalCloudStarter(std::make_shared<LocalCloudStarter>(std::move(*localCloud)));
        FormRadio.AskImportPreview = &ImportPreviewDialog::AskWithDialog;
        QObject::connect(&FormRadio, &TFormRadio::Closed, &application, &QCoreApplication::quit);
        QObject::connect(&FormRadio, &TFormRadio::CloseRequested, &application, [&application] {
            QTimer::singleShot(Cumulo::kCloseRecordWait, &application, &QCoreApplication::quit);
        });
        // The window first; what its first frame does not draw is set up right after it.
        FormRadio.show();
        std::unique_ptr<DesktopIntegration> desktop;
        std::unique_ptr<TerminationRequest> termination;
        instance.OnActivate([&FormRadio, &desktop] {
            if (desktop) {
                desktop->Control().Raise();
                return;
            }
            FormRadio.showNormal();
            FormRadio.raise();
            FormRadio.activateWindow();
        });
        // Deleting the profile starts a new instance: it must find both names free.
        dialogs.BeforeNewInstance([&desktop, &instance] {
            if (desktop)
                desktop->LeaveTheBus();
            instance.Release();
        });
        QTimer::singleShot(0, &FormRadio, [&] {
            DesktopOptions options;
            options.EndProgram = [] {};
            options.HistoryFile = HistoryStore::DefaultFilePath();
            options.Instance = &instance;
            desktop = std::make_unique<DesktopIntegration>(FormRadio, wmp, QDBusConnection::sessionBus(),
                                                           std::move(options));
            termination = std::make_unique<TerminationRequest>([&desktop] { desktop->Control().Quit(); });
        });
        code = application.exec();
        // However the loop ended, nothing more reaches the cloud.
        Cumulo::TFirebaseHelpers::SetAppTerminated(true);
        // They outlive the window they point into.
        instance.OnActivate([] {});
        dialogs.BeforeNewInstance([] {});
    }
    // A step still waiting for the network (a close record past its wait) is not waited for:
    // the transport would hold the program's end until it gives up.
    if (!QThreadPool::globalInstance()->waitForDone(0)) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    // The cloud client's workers end before the event loop and the libraries go.
    return Cumulo::EndAfterRunningRequests(code);
}
