#include "CloudPeerFixture.h"

#include "Cumulo/AsyncHttp.h"
#include "Cumulo/Log.h"
#include "Cumulo/MainThread.h"

#include <algorithm>
#include <chrono>

using namespace Cumulo;

namespace CumuloTest {

void CloudPeerFixture::SetUp() {
    fClock = std::make_shared<TFakeClock>(T0);
    fDispatcher = std::make_shared<TQueueDispatcher>();
    SetMainThreadDispatcher(fDispatcher);
    SetLogSink([this](const std::string &Line) {
        std::lock_guard lock(fLogLock);
        fLogLines.push_back(Line);
    });
    fPeer = std::make_unique<TScriptedPeer>();
    fAuth = std::make_shared<TFirebaseAuthentication>(
        ApiKey, TAuthenticationEndpoints{fPeer->BaseURL() + IdentityPath, fPeer->BaseURL() + TokenPath},
        fClock);
}

void CloudPeerFixture::TearDown() {
    Settle();
    fAuth.reset();
    fPeer.reset();
    SetLogSink(nullptr);
    SetMainThreadDispatcher(nullptr);
}

void CloudPeerFixture::Answer(int Status, std::string Body) {
    TScriptedAnswer answer;
    answer.Status = Status;
    answer.Body = std::move(Body);
    fPeer->Enqueue(std::move(answer));
}

std::string CloudPeerFixture::SignInAnswer(const std::string &IdToken, const std::string &RefreshToken) {
    return R"({"localId":"uid-1","idToken":")" + IdToken + R"(","expiresIn":"3600","refreshToken":")" +
           RefreshToken + "\"}";
}

void CloudPeerFixture::SignIn(const std::string &IdToken) {
    Answer(200, SignInAnswer(IdToken));
    fAuth->SignInWithEmailAndPasswordSynchronous("service@tunewell.test", "secret");
    fRequestsBefore = fPeer->RequestCount();
}

bool CloudPeerFixture::PumpUntil(const std::function<bool()> &Done) {
    return fDispatcher->PumpUntil(Done, std::chrono::seconds(10));
}

void CloudPeerFixture::Settle() {
    PumpUntil([this] { return RunningAsyncRequests() == 0 && fDispatcher->PendingCount() == 0; });
}

std::vector<TRecordedRequest> CloudPeerFixture::Requests() const {
    auto all = fPeer->Requests();
    return std::vector<TRecordedRequest>(all.begin() + static_cast<std::ptrdiff_t>(fRequestsBefore),
                                         all.end());
}

TRecordedRequest CloudPeerFixture::LastRequest() const {
    auto all = Requests();
    return all.empty() ? TRecordedRequest() : all.back();
}

std::vector<std::string> CloudPeerFixture::LogLines() const {
    std::lock_guard lock(fLogLock);
    return fLogLines;
}

} // namespace CumuloTest
