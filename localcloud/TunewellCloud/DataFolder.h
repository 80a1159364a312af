#pragma once

#include "TunewellCloud/UniqueFd.h"

#include <filesystem>

namespace TunewellCloud {

// Holds the data folder for one process at a time: a second server on the same folder would
// interleave two journals.
class DataFolder {
public:
    explicit DataFolder(std::filesystem::path path);
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
    UniqueFd lock_;
};

} // namespace TunewellCloud
