#include "Tunewell/LocalCloudFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace Tunewell {

std::filesystem::path LocalCloudFolder(const char *DataHome, const char *Home) {
    const std::filesystem::path dataHome = DataHome ? DataHome : "";
    if (dataHome.is_absolute())
        return dataHome / "tunewell" / "cloud";
    if (!Home || *Home == '\0')
        throw std::runtime_error("no home folder for the local cloud's data (HOME is not set)");
    return std::filesystem::path(Home) / ".local" / "share" / "tunewell" / "cloud";
}

std::filesystem::path LocalCloudFolder() {
    const char *home = std::getenv("HOME");
    // A session started without HOME still has one in the user database.
    if (!home || *home == '\0')
        if (const passwd *user = ::getpwuid(::getuid()))
            home = user->pw_dir;
    return LocalCloudFolder(std::getenv("XDG_DATA_HOME"), home);
}

std::string LocalCloudFolderProblem(const std::filesystem::path &Folder) {
    struct stat status {};
    if (::lstat(Folder.c_str(), &status) != 0)
        return errno == ENOENT ? "" : Folder.string() + " cannot be read: " + std::strerror(errno);
    if (!S_ISDIR(status.st_mode))
        return Folder.string() + " is not a folder";
    if (status.st_uid != ::geteuid())
        return Folder.string() + " belongs to another user (uid " + std::to_string(status.st_uid) + ")";
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
        return Folder.string() + " is open to other users (mode " + mode + ", wanted 0700)";
    }
    return "";
}

} // namespace Tunewell
