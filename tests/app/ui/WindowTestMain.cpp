// Window suites: the program's application object, headless, and a settings store of their own.
#include "Cumulo/MainThread.h"
#include "app/ui/QtMainThreadDispatcher.h"
#include "app/ui/TunewellApplication.h"
#include "shared/ui/WindowFonts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());
    Tunewell::TunewellApplication application(argc, argv);
    Cumulo::SetMainThreadDispatcher(std::make_shared<Tunewell::QtMainThreadDispatcher>());
    // The windows' own font, as the program loads it.
    Tunewell::UseTahoma();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
