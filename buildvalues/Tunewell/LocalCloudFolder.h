#pragma once

#include <filesystem>
#include <string>

namespace Tunewell {

// The program's own local cloud keeps its data in one folder per user, which every start of the
// program, tunewell-publish and `tunewell-cloud serve --program-defaults` share.

// The file each running program holds a shared lock on: a cloud that finds it locked is in use
// and does not end for being idle.
inline constexpr const char *kLocalCloudUsersFile = "programs.lock";
// The file the cloud started by the program writes its messages to.
inline constexpr const char *kLocalCloudLogFile = "cloud.log";
// The Unix sockets the cloud serves on: the folder's permissions keep other users out.
inline constexpr const char *kLocalCloudDatabaseSocket = "database.sock";
inline constexpr const char *kLocalCloudIdentitySocket = "identity.sock";

// $XDG_DATA_HOME/tunewell/cloud, or ~/.local/share/tunewell/cloud when XDG_DATA_HOME is unset,
// empty or relative (as the base directory rules say). Throws std::runtime_error when there is no
// home folder either.
std::filesystem::path LocalCloudFolder();
// The same from the two values given (null for unset).
std::filesystem::path LocalCloudFolder(const char *DataHome, const char *Home);

// Why the folder may not be trusted to hold the cloud's sockets, or "" when it may: it must be a
// folder of the user's own that no other user can enter (another could have put a socket there).
// A missing folder is no reason.
std::string LocalCloudFolderProblem(const std::filesystem::path &Folder);

} // namespace Tunewell
