#pragma once

#include <QString>
#include <string_view>

namespace Player {

// The first stream a .pls or .m3u playlist names, resolved against the playlist's own address;
// empty when it names none. The format is read from the text, not from the address: servers
// mislabel playlists often enough.
QString firstStreamInPlaylist(std::string_view text, const QString &playlistUrl);

} // namespace Player
