// The program: one main window, the default theme, the cloud client bound to the event loop.
#include "Cumulo/MainThread.h"
#include "Player/WmpOptions.h"
#include "app/ui/FormRadio.h"
#include "app/ui/MessageDialogs.h"
#include "app/ui/QtMainThreadDispatcher.h"
#include "app/ui/TerminationRequest.h"
#include "app/ui/ThemeManager.h"
#include "app/ui/WmpStationPlayer.h"
#include "shared/core/WindowCloudCumuloClients.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    using namespace Tunewell;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunewell"));
    Cumulo::SetMainThreadDispatcher(std::make_shared<QtMainThreadDispatcher>());

    MessageDialogs dialogs;
    ThemeManager::Apply(ThemeManager::DefaultTheme(), &dialogs);
    WindowEnvironment environment{dialogs, std::make_shared<WindowCloudCumuloClients>()};
    TFormRadio FormRadio(environment, std::make_unique<WmpStationPlayer>(Player::WmpOptions{}),
                         CreateChildWindow);
    TerminationRequest termination([&FormRadio] { FormRadio.close(); });
    FormRadio.show();
    return application.exec();
}
