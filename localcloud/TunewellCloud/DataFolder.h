#pragma once

#include "TunewellCloud/UniqueFd.h"

#include <filesystem>
#include <stdexcept>

namespace TunewellCloud {

// Another process holds the folder.
class DataFolderInUse : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Holds the data folder for one process at a time: a second server on the same folder would
// interleave two journals.
class DataFolder {
public:
    // Throws DataFolderInUse when another process holds it.
    explicit DataFolder(std::filesystem::path path);
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
    UniqueFd lock_;
};

} // namespace TunewellCloud
