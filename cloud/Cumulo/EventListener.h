#pragma once

#include "Cumulo/HttpClient.h"
#include "Cumulo/Interfaces.h"
#include "Cumulo/ReconnectBackoff.h"
#include "Cumulo/ReleaseGate.h"
#include "Cumulo/StreamEvent.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

namespace Cumulo {

class TEventStreamParser;

struct TEventListenerSettings {
    // The node's URL without the token; the token is added anew for every connection.
    std::string StreamURL;
    TStringDynArray ResourceParams;
    std::shared_ptr<IFirebaseAuthentication> Auth;
    TOnReceiveEvent OnEvent;
    TNotifyEvent OnStopListening;
    TOnRequestError OnError;
    TReconnectBackoff Backoff;
};

// One listening session on one database node: a thread that keeps an event stream open,
// reconnects after a growing pause, renews the token when the service asks for it, and hands
// every change to the main thread in the order it arrived.
//
// States: running from Start until the thread's last step; stopping once RequestStop was called;
// ended when IsRunning turns false, after OnStopListening was posted; released once the client
// let go of it, after which no callback runs any more. Callbacks only ever run on the main
// thread; the thread never touches the database client, only this object.
class TEventListener {
public:
    explicit TEventListener(TEventListenerSettings Settings);
    // Stops the thread and waits for its end, so that nothing it uses is freed under it.
    ~TEventListener();
    TEventListener(const TEventListener &) = delete;
    TEventListener &operator=(const TEventListener &) = delete;

    void Start();
    // Safe from any thread and at any moment; ends a waiting or receiving connection promptly.
    void RequestStop();
    // Requests the stop and waits until the thread has ended.
    void StopAndWait();
    // For a client that is going: from now on nothing is called back, not even what was posted
    // already, since the callbacks' owner may be gone with the client. Then stops and waits.
    // Main thread only, where the posted callbacks run.
    void Release();
    bool IsReleased() const;
    bool IsRunning() const;
    // The local time of the last "keep-alive" event, 0 before the first.
    TDateTime LastKeepAlive() const;

    // The name the thread carries, where the platform allows thread names.
    static constexpr const char *ThreadName = "Cumulo.RTDB.ListenEvent";

private:
    void Run();
    void Connect(bool &EventsFlowed);
    void OnReceive(const THttpReceiveInfo &Info, bool &Abort, TEventStreamParser &Parser, bool &EventsFlowed);
    // Returns true when the connection must end so that the token is renewed.
    bool HandleEvent(const TStreamEvent &Event);
    // False when a required renewal failed (it was reported).
    bool RenewTokenIfRequired();
    // Returns false when a stop came during the pause.
    bool Pause(std::chrono::milliseconds Delay);
    // Posts a callback that runs on the main thread unless the session was released by then;
    // without a main thread to post to, LogLine tells what was not delivered.
    void PostCallback(std::function<void()> Callback, const std::string &LogLine);
    void ReportError(const std::string &RequestID, const std::string &Message, const std::string &LogFormat);
    void Finish();

    const TEventListenerSettings fSettings;
    const std::string fInfo;
    THttpClient fClient;
    std::thread fThread;
    // Receives the bytes of the current connection; emptied on every arrival.
    std::stringstream fContent;
    std::string fAnswerHead;
    bool fStreaming = false;

    TReleaseGate fGate;
    std::atomic<bool> fStopWaiting{false};
    std::atomic<bool> fRunning{false};
    std::atomic<bool> fRequireTokenRefresh{false};
    std::atomic<TDateTime> fLastKeepAliveMsg{0};
    mutable std::mutex fWaitMutex;
    std::condition_variable fWake;
};

} // namespace Cumulo
