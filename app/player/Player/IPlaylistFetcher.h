#pragma once

#include "Player/PlaybackState.h"

#include <QString>
#include <functional>
#include <string>

namespace Player {

struct PlaylistFetchResult {
    bool ok = false;
    FailureKind failure = FailureKind::Network;
    QString detail;
    // The start of the body; playlists are small and only their first stream matters.
    std::string body;
    QString contentType;
    // The address after redirects, against which relative entries resolve.
    QString finalUrl;
};

// Fetches playlists off the main thread.
class IPlaylistFetcher {
public:
    using Completion = std::function<void(const PlaylistFetchResult &)>;

    virtual ~IPlaylistFetcher() = default;
    // Replaces any fetch under way (whose completion is then never called); the completion runs
    // on the main thread.
    virtual void fetch(const QString &url, Completion completion) = 0;
    virtual void cancel() = 0;
};

} // namespace Player
