#include "app/recording/FileRecordingDisk.h"

#include "app/recording/RecordingError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace Tunewell {

namespace {

struct FileClose {
    void operator()(std::FILE *File) const { std::fclose(File); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

constexpr int MostNamesTried = 100;

std::string Why(const std::filesystem::path &Path, int Error) {
    return Path.string() + ": " + std::strerror(Error);
}

class DiskFile : public IRecordingFile {
public:
    DiskFile(FilePtr File, std::filesystem::path Path) : File_(std::move(File)), Path_(std::move(Path)) {}

    void Write(std::string_view Bytes) override {
        if (!File_)
            throw ERecordingError(Path_.string() + ": already closed");
        // Each chunk reaches the disk at once, so that a full disk shows at the chunk that filled it.
        if (std::fwrite(Bytes.data(), 1, Bytes.size(), File_.get()) != Bytes.size() ||
            std::fflush(File_.get()) != 0)
            throw ERecordingError(Why(Path_, errno));
    }

    void Close() override {
        if (File_ && std::fclose(File_.release()) != 0)
            throw ERecordingError(Why(Path_, errno));
    }

private:
    FilePtr File_;
    std::filesystem::path Path_;
};

std::filesystem::path NumberedPath(const std::filesystem::path &Path, int Number) {
    if (Number == 1)
        return Path;
    std::filesystem::path numbered = Path;
    numbered.replace_filename(Path.stem().string() + " (" + std::to_string(Number) + ")" +
                              Path.extension().string());
    return numbered;
}

} // namespace

std::unique_ptr<IRecordingFile> FileRecordingDisk::Create(const std::filesystem::path &Path) {
    std::error_code error;
    std::filesystem::create_directories(Path.parent_path(), error);
    if (error)
        throw ERecordingError(Path.parent_path().string() + ": " + error.message());
    for (int number = 1; number <= MostNamesTried; ++number) {
        const std::filesystem::path path = NumberedPath(Path, number);
        // "x": never over another file, such as an earlier title of the same second.
        FilePtr file(std::fopen(path.c_str(), "wbx"));
        if (file)
            return std::make_unique<DiskFile>(std::move(file), path);
        if (errno != EEXIST)
            throw ERecordingError(Why(path, errno));
    }
    throw ERecordingError(Path.string() + ": too many files of that name");
}

} // namespace Tunewell
