#include "Player/CurlPlaylistFetcher.h"

#include "Cumulo/CurlCertificateProblem.h"
#include "Cumulo/CurlGlobal.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/TrustedAuthorities.h"
#include "Tunewell/BuildValues.h"

#include <curl/curl.h>
#include <memory>
#include <string>

namespace Player {

namespace {

constexpr std::size_t maximumPlaylistBytes = 16 * 1024;
constexpr long connectTimeoutSeconds = 10;
constexpr long totalTimeoutSeconds = 20;
constexpr long maximumRedirects = 5;

struct CurlCleanup {
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};
using CurlPtr = std::unique_ptr<CURL, CurlCleanup>;

struct Transfer {
    std::string body;
    bool full = false;
    std::stop_token stop;
};

size_t collect(char *data, size_t size, size_t count, void *userData) {
    auto *transfer = static_cast<Transfer *>(userData);
    const size_t bytes = size * count;
    const size_t room = maximumPlaylistBytes - transfer->body.size();
    transfer->body.append(data, std::min(bytes, room));
    if (bytes >= room) {
        // Enough: the first stream is near the top, and a station that serves audio here never ends.
        transfer->full = true;
        return 0;
    }
    return bytes;
}

int progress(void *userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer *>(userData)->stop.stop_requested() ? 1 : 0;
}

PlaylistFetchResult failure(FailureKind kind, QString detail) {
    PlaylistFetchResult result;
    result.failure = kind;
    result.detail = std::move(detail);
    return result;
}

} // namespace

CurlPlaylistFetcher::CurlPlaylistFetcher(QObject *parent) : QObject(parent) {}

CurlPlaylistFetcher::~CurlPlaylistFetcher() {
    for (Job &job : jobs_) {
        job.thread.request_stop();
    }
    // Each jthread joins as the list goes.
}

void CurlPlaylistFetcher::fetch(const QString &url, Completion completion) {
    cancel();
    const quint64 request = ++request_;
    Job &job = jobs_.emplace_back();
    job.thread = std::jthread([this, request, finished = job.finished, url = url.toStdString(),
                               completion = std::move(completion)](std::stop_token stop) {
        PlaylistFetchResult result = fetchNow(url, stop);
        if (!stop.stop_requested()) {
            QMetaObject::invokeMethod(
                this,
                [this, request, completion, result = std::move(result)] {
                    if (request == request_) {
                        completion(result);
                    }
                },
                Qt::QueuedConnection);
        }
        *finished = true;
    });
}

void CurlPlaylistFetcher::cancel() {
    ++request_;
    for (Job &job : jobs_) {
        job.thread.request_stop();
    }
    releaseFinishedJobs();
}

void CurlPlaylistFetcher::releaseFinishedJobs() {
    jobs_.remove_if([](const Job &job) { return job.finished->load(); });
}

PlaylistFetchResult CurlPlaylistFetcher::fetchNow(const std::string &url, std::stop_token stop) {
    Cumulo::EnsureCurlInitialised();
    const CurlPtr curl(curl_easy_init());
    if (!curl) {
        return failure(FailureKind::Network, QStringLiteral("the HTTP client cannot start"));
    }
    Transfer transfer{{}, false, std::move(stop)};
    char errorText[CURL_ERROR_SIZE] = {};
    CURL *handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, maximumRedirects);
    try {
        // The cloud client's authorities: the system's store and TUNEWELL_CA_FILE.
        Cumulo::TTrustedAuthorities::Shared().ApplyTo(handle);
    } catch (const Cumulo::ETransport &error) {
        return failure(FailureKind::Certificate, QString::fromUtf8(error.what()));
    }
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, totalTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    const std::string userAgent = std::string("Tunewell/") + Tunewell::BuildValues::kVersion;
    curl_easy_setopt(handle, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK && !(code == CURLE_WRITE_ERROR && transfer.full)) {
        const QString detail = QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(code));
        return failure(Cumulo::CertificateProblemOf(handle, code) ? FailureKind::Certificate
                                                                  : FailureKind::Network,
                       detail);
    }
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status == 404 || status == 410) {
        return failure(FailureKind::NotFound, QStringLiteral("HTTP %1").arg(status));
    }
    if (status >= 400) {
        return failure(FailureKind::Network, QStringLiteral("HTTP %1").arg(status));
    }
    PlaylistFetchResult result;
    result.ok = true;
    result.body = std::move(transfer.body);
    const char *contentType = nullptr;
    curl_easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &contentType);
    result.contentType = QString::fromUtf8(contentType ? contentType : "");
    const char *finalUrl = nullptr;
    curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &finalUrl);
    result.finalUrl = QString::fromUtf8(finalUrl ? finalUrl : url.c_str());
    return result;
}

} // namespace Player
