#include "SettingsFaults.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace Tunewell::Testing {

void StoreProfileIdOfAnotherType() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(folder);
    QFile store(folder + "/Firebase.ini");
    store.open(QIODevice::WriteOnly | QIODevice::Truncate);
    store.write("[General]\nRegistrado=a, b\n");
}

UnwritableSettingsStore::UnwritableSettingsStore() : Previous_(qgetenv("XDG_CONFIG_HOME")) {
    QFile blocker(Folder_.path() + "/blocker");
    blocker.open(QIODevice::WriteOnly);
    qputenv("XDG_CONFIG_HOME", (Folder_.path() + "/blocker/config").toUtf8());
}

UnwritableSettingsStore::~UnwritableSettingsStore() {
    qputenv("XDG_CONFIG_HOME", Previous_);
}

} // namespace Tunewell::Testing
