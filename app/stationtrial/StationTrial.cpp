#include "app/stationtrial/StationTrial.h"

#include "Cumulo/AsciiCase.h"
#include "Cumulo/HttpClient.h"
#include "Player/PlaylistKind.h"
#include "Player/PlaylistParser.h"

#include <QString>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

namespace Tunewell {

namespace {
using Clock = std::chrono::steady_clock;
using Outcome = TStationTrialResult::TOutcome;

// A playlist's first stream is near its top; a stream of unknown length is cut at its first bytes.
constexpr std::int64_t kLongestPlaylist = 16 * 1024;
constexpr std::int64_t kStreamPeek = 2 * 1024;

struct Answer {
    std::shared_ptr<Cumulo::THttpResponse> Response;
    std::string Body;
    bool TimedOut = false;
};

// Aborts the client's transfer when the deadline passes first.
class Deadline {
public:
    Deadline(Cumulo::THttpClient &Client, Clock::time_point At)
        : Watch_([this, &Client, At](std::stop_token Stop) {
              std::unique_lock lock(Mutex_);
              if (!Changed_.wait_until(lock, Stop, At, [] { return false; }) && !Stop.stop_requested()) {
                  Passed_ = true;
                  Client.Abort();
              }
          }) {}
    bool Passed() {
        std::lock_guard lock(Mutex_);
        return Passed_;
    }

private:
    std::mutex Mutex_;
    std::condition_variable_any Changed_;
    bool Passed_ = false;
    // Last: stopped and joined before the members it uses go.
    std::jthread Watch_;
};

Answer Fetch(const std::string &Url, Clock::time_point At) {
    Answer answer;
    if (Clock::now() >= At) {
        answer.TimedOut = true;
        return answer;
    }
    Cumulo::THttpClient client(Cumulo::THttpUse::EventStream);
    client.SetFollowRedirects(true);
    std::ostringstream body;
    client.SetOnReceive([](const Cumulo::THttpReceiveInfo &Info, bool &Abort) {
        const std::int64_t enough = Info.ContentLength >= 0 ? kLongestPlaylist : kStreamPeek;
        Abort = Info.ReadCount >= enough;
    });
    {
        Deadline deadline(client, At);
        answer.Response = client.Get(Url, &body);
        answer.TimedOut = deadline.Passed() && answer.Response->StatusCode == 0;
    }
    answer.Body = body.str();
    return answer;
}

std::string MediaType(const Cumulo::THttpResponse &Response) {
    const std::string type = Response.Header("Content-Type");
    return Cumulo::LowerAscii(type.substr(0, type.find(';')));
}

bool IsAudio(const Cumulo::THttpResponse &Response) {
    const std::string type = MediaType(Response);
    return type.starts_with("audio/") || type == "application/ogg" || !Response.Header("icy-name").empty() ||
           !Response.Header("icy-br").empty() || !Response.Header("icy-metaint").empty();
}

bool IsPlaylist(const std::string &Url, const Cumulo::THttpResponse &Response) {
    const QString type = QString::fromStdString(MediaType(Response));
    if (Player::isPlaylistContentType(type))
        return true;
    // Servers label playlists as text or as anything at all: the address decides then.
    return !IsAudio(Response) && Player::isPlaylistAddress(QString::fromStdString(Url));
}

TStationTrialResult Failed(std::string Detail) {
    TStationTrialResult result;
    result.Outcome = Outcome::Failed;
    result.Detail = std::move(Detail);
    return result;
}

TStationTrialResult Try(const std::string &Url, Clock::time_point At, bool FromPlaylist) {
    Answer answer = Fetch(Url, At);
    if (answer.TimedOut) {
        TStationTrialResult result;
        result.Outcome = Outcome::NoAnswer;
        result.StreamUrl = Url;
        result.FromPlaylist = FromPlaylist;
        return result;
    }
    const Cumulo::THttpResponse &response = *answer.Response;
    if (response.StatusCode >= 400 || response.StatusCode == 0)
        return Failed("HTTP " + std::to_string(response.StatusCode));
    if (!FromPlaylist && IsPlaylist(Url, response)) {
        const QString stream = Player::firstStreamInPlaylist(
            answer.Body, QString::fromStdString(response.URL.empty() ? Url : response.URL));
        if (stream.isEmpty())
            return Failed("the playlist names no stream / a lista n\u00E3o indica nenhum fluxo");
        return Try(stream.toStdString(), At, true);
    }
    TStationTrialResult result;
    result.Outcome = IsAudio(response) ? Outcome::Answers : Outcome::NotAudio;
    result.StreamUrl = Url;
    result.FromPlaylist = FromPlaylist;
    result.ContentType = MediaType(response);
    result.Bitrate = response.Header("icy-br");
    return result;
}
} // namespace

TStationTrialResult TryStationAddress(const std::string &Url, std::chrono::milliseconds Bound) {
    try {
        return Try(Url, Clock::now() + Bound, false);
    } catch (const std::exception &error) {
        return Failed(error.what());
    }
}

} // namespace Tunewell
