#pragma once

// A fixture for protocol tests of the authentication and database clients: a scripted peer
// serving both the identity/token services and the database, a clock that stands still, a
// main-thread queue to pump, and the log lines written meanwhile.

#include "Cumulo/Authentication.h"
#include "Cumulo/QueueDispatcher.h"
#include "ExceptionMessage.h"
#include "FakeClock.h"

#include <Tunewell/Test/ScriptedPeer.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace CumuloTest {

using Tunewell::Test::TRecordedRequest;
using Tunewell::Test::TScriptedAnswer;
using Tunewell::Test::TScriptedPeer;

inline constexpr const char *ApiKey = "AIzaTestKey";
inline constexpr const char *IdentityPath = "/identitytoolkit/v3/relyingparty";
inline constexpr const char *TokenPath = "/v1/token";
// The moment every test starts at, on the fake clock.
inline constexpr Cumulo::TDateTime T0 = 46000.25;

class CloudPeerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Queues one answer of the peer.
    void Answer(int Status, std::string Body);
    // A sign-in answer holding idToken, expiresIn "3600" and refreshToken.
    static std::string SignInAnswer(const std::string &IdToken,
                                    const std::string &RefreshToken = "refresh-1");
    // Signs in synchronously with that token; Requests() then starts after this sign-in.
    void SignIn(const std::string &IdToken = "token-1");

    // Pumps the main-thread queue until Done holds; false after the time limit.
    bool PumpUntil(const std::function<bool()> &Done);
    // Pumps until every asynchronous exchange has ended and its answer was handled.
    void Settle();

    // The requests the peer has seen since the last SignIn.
    std::vector<TRecordedRequest> Requests() const;
    TRecordedRequest LastRequest() const;
    std::vector<std::string> LogLines() const;

    std::shared_ptr<TFakeClock> fClock;
    std::shared_ptr<Cumulo::TQueueDispatcher> fDispatcher;
    std::unique_ptr<TScriptedPeer> fPeer;
    std::shared_ptr<Cumulo::TFirebaseAuthentication> fAuth;

private:
    std::size_t fRequestsBefore = 0;
    mutable std::mutex fLogLock;
    std::vector<std::string> fLogLines;
};

} // namespace CumuloTest
