#pragma once

#include "app/recording/RecordingDisk.h"

namespace Tunewell {

// Recordings as files on the local disk.
class FileRecordingDisk : public IRecordingDisk {
public:
    std::unique_ptr<IRecordingFile> Create(const std::filesystem::path &Path) override;
};

} // namespace Tunewell
