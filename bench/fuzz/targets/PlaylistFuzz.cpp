// The playlist parser on arbitrary .pls, .m3u and other texts.
#include "Player/PlaylistParser.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    const std::string_view text(reinterpret_cast<const char *>(Data), Size);
    static const QString address = QStringLiteral("http://radio.example/live/list.pls");
    Player::firstStreamInPlaylist(text, address);
    return 0;
}
