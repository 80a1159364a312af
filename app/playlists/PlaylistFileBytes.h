#pragma once

#include <filesystem>
#include <string>

namespace Tunewell {

// The bytes of a playlist file, read without waiting and without holding more than the size
// limit: anything but an ordinary file (a FIFO, a device such as /dev/zero, a folder) is refused
// before a byte is read, and so is a file larger than the limit, even one growing while read.
// Throws PlaylistError.
std::string ReadPlaylistFileBytes(const std::filesystem::path &File);

} // namespace Tunewell
