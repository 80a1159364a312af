#pragma once

#include <QByteArray>
#include <QTemporaryDir>

namespace Tunewell::Testing {

// The profile ID stored as a list instead of text: every read of it fails as a damaged store does.
void StoreProfileIdOfAnotherType();

// While alive, the settings store cannot be written: its folder would lie below a plain file.
class UnwritableSettingsStore {
public:
    UnwritableSettingsStore();
    ~UnwritableSettingsStore();
    UnwritableSettingsStore(const UnwritableSettingsStore &) = delete;
    UnwritableSettingsStore &operator=(const UnwritableSettingsStore &) = delete;

private:
    QByteArray Previous_;
    QTemporaryDir Folder_;
};

} // namespace Tunewell::Testing
