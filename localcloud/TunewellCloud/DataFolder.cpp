#include "TunewellCloud/DataFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>

namespace TunewellCloud {

DataFolder::DataFolder(std::filesystem::path path) : path_(std::move(path)) {
    std::filesystem::create_directories(path_);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    const auto lockFile = path_ / "lock";
    lock_ = UniqueFd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock_.valid())
        throw std::runtime_error("cannot open " + lockFile.string() + ": " + std::strerror(errno));
    if (::flock(lock_.get(), LOCK_EX | LOCK_NB) != 0)
        throw DataFolderInUse("the data folder " + path_.string() + " is in use by another tunewell-cloud");
}

} // namespace TunewellCloud
