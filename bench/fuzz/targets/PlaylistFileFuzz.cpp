// Playlist files as the import reads them: any bytes under any of the suffixes. Whatever is read
// must read back the same from both written forms, and a refusal is only ever a PlaylistError.
#include "app/playlists/M3uWriter.h"
#include "app/playlists/PlaylistError.h"
#include "app/playlists/PlaylistReader.h"
#include "app/playlists/PlsWriter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    static constexpr std::array<std::string_view, 4> kSuffixes{".m3u", ".pls", ".xspf", ".txt"};
    if (Size == 0) {
        return 0;
    }
    // The first byte picks the suffix, the rest is the file.
    const std::string_view suffix = kSuffixes[Data[0] % kSuffixes.size()];
    const std::string_view bytes(reinterpret_cast<const char *>(Data) + 1, Size - 1);
    try {
        const auto entries = Tunewell::ReadPlaylistText(bytes, suffix).Entries;
        if (Tunewell::ReadPlaylistText(Tunewell::WriteM3u(entries), ".m3u").Entries != entries ||
            Tunewell::ReadPlaylistText(Tunewell::WritePls(entries), ".pls").Entries != entries) {
            std::abort();
        }
    } catch (const Tunewell::PlaylistError &) {
    }
    return 0;
}
