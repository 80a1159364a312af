// Window suites: a headless application and a settings store of their own.
#include "Cumulo/MainThread.h"
#include "app/ui/QtMainThreadDispatcher.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());
    QApplication application(argc, argv);
    Cumulo::SetMainThreadDispatcher(std::make_shared<Tunewell::QtMainThreadDispatcher>());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
