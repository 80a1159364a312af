#include "TunewellCloud/DurableFiles.h"

#include "TunewellCloud/RequestError.h"
#include "TunewellCloud/UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TunewellCloud::DurableFiles {

namespace {

[[noreturn]] void fail(const std::string &what, const std::filesystem::path &file) {
    throw StorageError(what + " " + file.string() + ": " + std::strerror(errno));
}

} // namespace

void writeAll(int fd, const char *data, std::size_t size, const std::filesystem::path &file) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot write", file);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void syncDirectory(const std::filesystem::path &directory) {
    UniqueFd fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid() || ::fsync(fd.get()) != 0)
        fail("cannot sync", directory);
}

void writeAtomically(const std::filesystem::path &file, const std::string &content, bool privateToOwner) {
    const auto temporary = std::filesystem::path(file.string() + ".tmp");
    {
        UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                           privateToOwner ? 0600 : 0644));
        if (!fd.valid())
            fail("cannot create", temporary);
        writeAll(fd.get(), content.data(), content.size(), temporary);
        if (::fsync(fd.get()) != 0)
            fail("cannot sync", temporary);
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0)
        fail("cannot rename", temporary);
    syncDirectory(file.parent_path());
}

std::optional<std::string> read(const std::filesystem::path &file) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT)
            return std::nullopt;
        fail("cannot open", file);
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot read", file);
        }
        if (count == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(count));
    }
    return content;
}

} // namespace TunewellCloud::DurableFiles
