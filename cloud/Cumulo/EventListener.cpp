#include "Cumulo/EventListener.h"

#include "Cumulo/Clock.h"
#include "Cumulo/EventStreamParser.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/MainThread.h"
#include "Cumulo/StreamEventDecoder.h"
#include "Cumulo/TokenRenewal.h"

#include <pthread.h>
#include <stdexcept>

namespace Cumulo {

namespace {

// Longest text of a refused answer quoted in its error report.
constexpr std::size_t MaxQuotedAnswer = 4096;
// How often a waiting side re-sends its abort, for a transfer that had not yet started.
constexpr std::chrono::milliseconds AbortRepeat{20};

void NameThisThread() {
    // Linux keeps 15 characters of a thread name; the longer name is kept where it fits.
    if (pthread_setname_np(pthread_self(), TEventListener::ThreadName) != 0) {
        const std::string shortName = std::string(TEventListener::ThreadName).substr(0, 15);
        pthread_setname_np(pthread_self(), shortName.c_str());
    }
}

std::string FormatLine(const std::string &Format, const std::string &First, const std::string &Second) {
    std::string line = Format;
    for (const std::string *argument : {&First, &Second})
        if (const auto at = line.find("%s"); at != std::string::npos)
            line.replace(at, 2, *argument);
    return line;
}

} // namespace

TEventListener::TEventListener(TEventListenerSettings Settings)
    : fSettings(std::move(Settings)), fInfo(TFirebaseHelpers::ArrStrToCommaStr(fSettings.ResourceParams)),
      fClient(THttpUse::EventStream) {
    if (!fSettings.Auth)
        throw std::invalid_argument("Authentication not initalized");
    fClient.SetFollowRedirects(true);
    fClient.SetCustomHeader("Accept", "text/event-stream");
    // A compressed stream would sit in the compressor's buffers instead of arriving event by event.
    fClient.SetCustomHeader("Accept-Encoding", "identity");
}

TEventListener::~TEventListener() {
    StopAndWait();
}

void TEventListener::Start() {
    if (fThread.joinable())
        throw std::logic_error("The event listener was already started");
    fRunning = true;
    fThread = std::thread([this] { Run(); });
}

void TEventListener::RequestStop() {
    {
        std::lock_guard lock(fWaitMutex);
        fStopWaiting = true;
    }
    fWake.notify_all();
    fClient.Abort();
}

void TEventListener::StopAndWait() {
    if (!fThread.joinable())
        return;
    RequestStop();
    {
        std::unique_lock lock(fWaitMutex);
        // An abort reaches only a transfer that is already running: repeat it until the thread ends.
        while (fRunning) {
            lock.unlock();
            fClient.Abort();
            lock.lock();
            fWake.wait_for(lock, AbortRepeat, [this] { return !fRunning; });
        }
    }
    fThread.join();
}

void TEventListener::Release() {
    fGate.Close();
    StopAndWait();
}

bool TEventListener::IsReleased() const {
    return fGate.IsClosed();
}

void TEventListener::PostCallback(std::function<void()> Callback, const std::string &LogLine) {
    PostToMainThreadOrLog(fGate.Guard(std::move(Callback)), LogLine);
}

bool TEventListener::IsRunning() const {
    return fRunning;
}

TDateTime TEventListener::LastKeepAlive() const {
    return fLastKeepAliveMsg;
}

void TEventListener::Run() {
    NameThisThread();
    TReconnectBackoff backoff = fSettings.Backoff;
    try {
        bool first = true;
        while (!fStopWaiting) {
            if (!first && !Pause(backoff.NextDelay()))
                break;
            first = false;
            bool eventsFlowed = false;
            try {
                // A failed renewal was reported; it is tried again after the pause.
                if (!RenewTokenIfRequired())
                    continue;
                if (fStopWaiting)
                    break;
                Connect(eventsFlowed);
            } catch (const ETransport &e) {
                // The cloud may be away for a while (a restart, a lost network); the next
                // attempt follows the same growing pause as a refused answer.
                ReportError(fInfo, e.what(), "Event listener for %s failed: %s");
            }
            if (eventsFlowed)
                backoff.Reset();
        }
    } catch (const std::exception &e) {
        ReportError(fInfo, e.what(), "Event listener for %s failed: %s");
    }
    Finish();
}

void TEventListener::Connect(bool &EventsFlowed) {
    TEventStreamParser parser;
    fContent.str(std::string());
    fContent.clear();
    fAnswerHead.clear();
    fStreaming = false;
    fClient.SetOnReceive([this, &parser, &EventsFlowed](const THttpReceiveInfo &Info, bool &Abort) {
        OnReceive(Info, Abort, parser, EventsFlowed);
    });
    const auto answer =
        fClient.Get(fSettings.StreamURL + TFirebaseHelpers::EncodeToken(fSettings.Auth->Token()), &fContent);
    fClient.SetOnReceive(nullptr);
    if (fStopWaiting)
        return;
    if (answer->StatusCode != 200) {
        std::string message = std::to_string(answer->StatusCode) + " " + answer->StatusText;
        if (!fAnswerHead.empty())
            message += ": " + fAnswerHead;
        if (answer->StatusCode == 401 || answer->StatusCode == 403)
            fRequireTokenRefresh = true;
        ReportError(fInfo, message, "Event listener for %s failed: %s");
        return;
    }
    if (!fStreaming) {
        // An answer of known length was held back until its status was known; it is read now.
        for (const auto &event : parser.Feed(fAnswerHead)) {
            EventsFlowed = true;
            if (HandleEvent(event) || fStopWaiting)
                break;
        }
    }
}

void TEventListener::OnReceive(const THttpReceiveInfo &Info, bool &Abort, TEventStreamParser &Parser,
                               bool &EventsFlowed) {
    if (fStopWaiting) {
        Abort = true;
        return;
    }
    try {
        std::string bytes = fContent.str();
        fContent.str(std::string());
        fContent.clear();
        // The receive notification does not tell the status: an answer of known length (error
        // answers have one, an event stream has none) is kept whole and judged when it is complete.
        if (Info.ContentLength >= 0 && !fStreaming) {
            fAnswerHead += bytes;
            if (fAnswerHead.size() > TEventStreamParser::DefaultMaxPendingBytes)
                throw std::length_error("The answer exceeds " +
                                        std::to_string(TEventStreamParser::DefaultMaxPendingBytes) +
                                        " bytes");
            return;
        }
        fStreaming = true;
        if (fAnswerHead.size() < MaxQuotedAnswer)
            fAnswerHead += bytes.substr(0, MaxQuotedAnswer - fAnswerHead.size());
        for (const auto &event : Parser.Feed(bytes)) {
            EventsFlowed = true;
            if (fStopWaiting || HandleEvent(event)) {
                Abort = true;
                return;
            }
        }
    } catch (const std::exception &e) {
        // The rest of this connection cannot be trusted; the loop reconnects.
        ReportError("Exception in event parser", e.what(), "%s: %s");
        Abort = true;
    }
}

bool TEventListener::HandleEvent(const TStreamEvent &Event) {
    auto decoded = DecodeStreamEvent(Event);
    switch (decoded.Kind) {
    case TStreamEventKind::KeepAlive:
        fLastKeepAliveMsg = SystemClock()->Now();
        return false;
    case TStreamEventKind::AuthRevoked:
        fRequireTokenRefresh = true;
        return true;
    case TStreamEventKind::Change:
        if (fSettings.OnEvent)
            PostCallback([onEvent = fSettings.OnEvent, name = Event.Name, params = fSettings.ResourceParams,
                          object = std::move(decoded.Object)] { onEvent(name, params, object); },
                         "Event " + Event.Name + " of " + fInfo);
        return false;
    case TStreamEventKind::NotJSON:
        TFirebaseHelpers::Log(decoded.Problem);
        return false;
    case TStreamEventKind::NotObject:
        ReportError("Exception in event parser", decoded.Problem, "%s: %s");
        return false;
    case TStreamEventKind::Ignored:
        return false;
    }
    return false;
}

bool TEventListener::RenewTokenIfRequired() {
    if (!fRequireTokenRefresh)
        return true;
    const TTokenRenewal renewal = RenewTokenAside(fSettings.Auth, fStopWaiting);
    if (renewal.Outcome == TTokenRenewal::Renewed) {
        fRequireTokenRefresh = false;
        return true;
    }
    if (renewal.Outcome == TTokenRenewal::Failed)
        ReportError(fInfo,
                    "Authorisation token refresh failed" +
                        (renewal.ErrMsg.empty() ? "" : ": " + renewal.ErrMsg),
                    "Event listener for %s failed: %s");
    return false;
}

bool TEventListener::Pause(std::chrono::milliseconds Delay) {
    std::unique_lock lock(fWaitMutex);
    return !fWake.wait_for(lock, Delay, [this] { return fStopWaiting.load(); });
}

void TEventListener::ReportError(const std::string &RequestID, const std::string &Message,
                                 const std::string &LogFormat) {
    const std::string line = FormatLine(LogFormat, RequestID, Message);
    if (fSettings.OnError)
        PostCallback([onError = fSettings.OnError, RequestID, Message] { onError(RequestID, Message); },
                     line);
    else
        TFirebaseHelpers::Log(line);
}

void TEventListener::Finish() {
    if (fSettings.OnStopListening)
        PostCallback(fSettings.OnStopListening, "Event listener for " + fInfo + " stopped");
    {
        std::lock_guard lock(fWaitMutex);
        fRunning = false;
    }
    fWake.notify_all();
}

} // namespace Cumulo
