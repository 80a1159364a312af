#include "MemoryRecordingDisk.h"

#include "app/recording/RecordingError.h"

namespace Tunewell {

class MemoryRecordingFile : public IRecordingFile {
public:
    MemoryRecordingFile(MemoryRecordingDisk &Disk, std::filesystem::path Path)
        : Disk_(Disk), Path_(std::move(Path)) {}
    void Write(std::string_view Bytes) override { Disk_.Write(Path_, Bytes); }
    void Close() override { Disk_.Close(Path_); }

private:
    MemoryRecordingDisk &Disk_;
    std::filesystem::path Path_;
};

std::unique_ptr<IRecordingFile> MemoryRecordingDisk::Create(const std::filesystem::path &Path) {
    const std::lock_guard lock(Lock_);
    if (Contents_.contains(Path))
        throw ERecordingError(Path.string() + ": taken");
    Order_.push_back(Path);
    Contents_[Path];
    return std::make_unique<MemoryRecordingFile>(*this, Path);
}

void MemoryRecordingDisk::FillUpAfter(std::size_t Bytes) {
    const std::lock_guard lock(Lock_);
    Room_ = Bytes;
}

void MemoryRecordingDisk::Stall() {
    const std::lock_guard lock(Lock_);
    Stalled_ = true;
}

void MemoryRecordingDisk::LetGo() {
    {
        const std::lock_guard lock(Lock_);
        Stalled_ = false;
    }
    Released_.notify_all();
}

std::vector<std::filesystem::path> MemoryRecordingDisk::Files() const {
    const std::lock_guard lock(Lock_);
    return Order_;
}

std::string MemoryRecordingDisk::Contents(const std::filesystem::path &Path) const {
    const std::lock_guard lock(Lock_);
    const auto found = Contents_.find(Path);
    return found == Contents_.end() ? std::string() : found->second;
}

bool MemoryRecordingDisk::Closed(const std::filesystem::path &Path) const {
    const std::lock_guard lock(Lock_);
    return Closed_.contains(Path);
}

void MemoryRecordingDisk::Write(const std::filesystem::path &Path, std::string_view Bytes) {
    std::unique_lock lock(Lock_);
    Released_.wait(lock, [this] { return !Stalled_; });
    if (Room_ && Used_ + Bytes.size() > *Room_) {
        const std::size_t fits = *Room_ - Used_;
        Contents_[Path].append(Bytes.substr(0, fits));
        Used_ = *Room_;
        throw ERecordingError(Path.string() + ": No space left on device");
    }
    Contents_[Path].append(Bytes);
    Used_ += Bytes.size();
}

void MemoryRecordingDisk::Close(const std::filesystem::path &Path) {
    const std::lock_guard lock(Lock_);
    Closed_[Path] = true;
}

} // namespace Tunewell
