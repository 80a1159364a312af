#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace TunewellCloud::DurableFiles {

// Replaces the file in one step: a crash leaves either the old or the new content, never a mix.
void writeAtomically(const std::filesystem::path &file, const std::string &content,
                     bool privateToOwner = false);
// Writes every byte or throws StorageError.
void writeAll(int fd, const char *data, std::size_t size, const std::filesystem::path &file);
std::optional<std::string> read(const std::filesystem::path &file);
void syncDirectory(const std::filesystem::path &directory);

} // namespace TunewellCloud::DurableFiles
