#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace Tunewell {

// One file being recorded. Both calls throw ERecordingError; what was written before a failure
// stays in the file.
class IRecordingFile {
public:
    virtual ~IRecordingFile() = default;
    virtual void Write(std::string_view Bytes) = 0;
    virtual void Close() = 0;
};

// Where recordings go: the seam tests replace with a disk that fills up.
class IRecordingDisk {
public:
    virtual ~IRecordingDisk() = default;
    // A new file at Path, its folders made when missing; a name already taken gets " (2)",
    // " (3)"... before its extension. Throws ERecordingError.
    virtual std::unique_ptr<IRecordingFile> Create(const std::filesystem::path &Path) = 0;
};

} // namespace Tunewell
