#pragma once

#include "Player/IPlaylistFetcher.h"

#include <QObject>
#include <atomic>
#include <list>
#include <memory>
#include <stop_token>
#include <thread>

namespace Player {

// Fetches playlists with libcurl on a worker thread: redirects followed (http to https too),
// certificates verified against the cloud client's authorities (a refused one is a Certificate
// failure), time-outs, and no more than the first few KiB read.
class CurlPlaylistFetcher : public QObject, public IPlaylistFetcher {
    Q_OBJECT

public:
    explicit CurlPlaylistFetcher(QObject *parent = nullptr);
    // Stops every fetch and waits for their threads; a transfer aborts at its next progress report.
    ~CurlPlaylistFetcher() override;

    void fetch(const QString &url, Completion completion) override;
    void cancel() override;

    // Blocking fetch, used by the worker thread; a stop request aborts it.
    static PlaylistFetchResult fetchNow(const std::string &url, std::stop_token stop);

private:
    struct Job {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
    };

    // Joins the cancelled jobs that have ended; the others end on their own.
    void releaseFinishedJobs();

    // The current job is the last; cancelling never waits for a transfer, which may take up to a
    // second to notice, so that switching stations never freezes the window.
    std::list<Job> jobs_;
    quint64 request_ = 0;
};

} // namespace Player
