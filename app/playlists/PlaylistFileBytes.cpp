#include "app/playlists/PlaylistFileBytes.h"

#include "app/playlists/PlaylistLimits.h"
#include "app/playlists/PlaylistMessages.h"
#include "shared/core/UniqueDescriptor.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tunewell {

namespace {

PlaylistError SystemFailure() {
    return PlaylistRefusal::CannotRead(std::strerror(errno));
}

} // namespace

std::string ReadPlaylistFileBytes(const std::filesystem::path &File) {
    // Non-blocking: opening a FIFO must not wait for a writer.
    const UniqueDescriptor file(::open(File.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.Valid()) {
        throw SystemFailure();
    }
    struct stat facts {};
    if (::fstat(file.Get(), &facts) != 0) {
        throw SystemFailure();
    }
    if (!S_ISREG(facts.st_mode)) {
        throw PlaylistRefusal::NotAFile();
    }
    if (static_cast<std::uintmax_t>(facts.st_size) > PlaylistMaxFileBytes) {
        throw PlaylistRefusal::TooLarge();
    }
    // One byte past the limit tells a file that grew since fstat.
    std::string bytes(PlaylistMaxFileBytes + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw SystemFailure();
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled > PlaylistMaxFileBytes) {
        throw PlaylistRefusal::TooLarge();
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace Tunewell
