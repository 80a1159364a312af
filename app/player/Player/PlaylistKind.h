#pragma once

#include <QString>

namespace Player {

// True for station addresses that name a .pls or .m3u playlist (not .m3u8, which is a live HLS stream).
bool isPlaylistAddress(const QString &url);

// True for the content types servers give .pls and .m3u playlists.
bool isPlaylistContentType(const QString &contentType);

} // namespace Player
