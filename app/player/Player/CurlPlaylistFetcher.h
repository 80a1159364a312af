#pragma once

#include "Player/IPlaylistFetcher.h"

#include <QObject>
#include <stop_token>
#include <thread>

namespace Player {

// Fetches playlists with libcurl on a worker thread: redirects followed, certificates verified,
// time-outs, and no more than the first few KiB read.
class CurlPlaylistFetcher : public QObject, public IPlaylistFetcher {
    Q_OBJECT

public:
    explicit CurlPlaylistFetcher(QObject *parent = nullptr);
    // Stops the fetch under way; its transfer aborts at its next progress report.
    ~CurlPlaylistFetcher() override;

    void fetch(const QString &url, Completion completion) override;
    void cancel() override;

    // Blocking fetch, used by the worker thread; a stop request aborts it.
    static PlaylistFetchResult fetchNow(const std::string &url, std::stop_token stop);

private:
    std::jthread worker_;
    quint64 request_ = 0;
};

} // namespace Player
