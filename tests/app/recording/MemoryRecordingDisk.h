#pragma once

#include "app/recording/RecordingDisk.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace Tunewell {

// Recordings kept in memory, as a disk that fills up after a number of bytes, or whose writes
// stall until let go, as a disk that stopped answering.
class MemoryRecordingDisk : public IRecordingDisk {
public:
    std::unique_ptr<IRecordingFile> Create(const std::filesystem::path &Path) override;

    // Writes fail once this many bytes are on the disk (the bytes that fit are kept).
    void FillUpAfter(std::size_t Bytes);
    void Stall();
    void LetGo();

    // The files in the order made, and their contents so far.
    std::vector<std::filesystem::path> Files() const;
    std::string Contents(const std::filesystem::path &Path) const;
    bool Closed(const std::filesystem::path &Path) const;

private:
    friend class MemoryRecordingFile;
    void Write(const std::filesystem::path &Path, std::string_view Bytes);
    void Close(const std::filesystem::path &Path);

    mutable std::mutex Lock_;
    std::condition_variable Released_;
    bool Stalled_ = false;
    std::optional<std::size_t> Room_;
    std::size_t Used_ = 0;
    std::vector<std::filesystem::path> Order_;
    std::map<std::filesystem::path, std::string> Contents_;
    std::map<std::filesystem::path, bool> Closed_;
};

} // namespace Tunewell
