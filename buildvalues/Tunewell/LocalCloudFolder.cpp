#include "Tunewell/LocalCloudFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <stdexcept>
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

} // namespace Tunewell
