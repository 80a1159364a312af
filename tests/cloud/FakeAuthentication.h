#pragma once

// An authentication client that only plays the token: the request layer's view of it.

#include "AuthenticationDouble.h"
#include "Cumulo/Exceptions.h"

#include <string>

namespace CloudTest {

class TFakeAuthentication : public TestSupport::TAuthenticationDouble {
public:
    std::string CurrentToken = "token-1";
    std::string NextToken = "token-2";
    bool TokenDue = false;
    // What CheckAndRefreshTokenSynchronous answers; an empty text makes it raise instead.
    bool SynchronousRefreshResult = true;
    std::string SynchronousRefreshError;
    int SynchronousRefreshCalls = 0;
    int AsynchronousRefreshCalls = 0;

    // The asynchronous refresh keeps one pair of callbacks, the last one given, as the real
    // client does.
    void CompleteRefresh() {
        CurrentToken = NextToken;
        TokenDue = false;
        if (fOnTokenRefresh)
            fOnTokenRefresh(true);
    }
    void ReportRefresh(bool Refreshed) {
        if (fOnTokenRefresh)
            fOnTokenRefresh(Refreshed);
    }
    void FailRefresh(const std::string &Message) {
        if (fOnError)
            fOnError("RefreshToken", Message);
    }

    void RefreshToken(Cumulo::TOnTokenRefresh OnTokenRefresh, Cumulo::TOnRequestError OnError) override {
        ++AsynchronousRefreshCalls;
        fOnTokenRefresh = std::move(OnTokenRefresh);
        fOnError = std::move(OnError);
    }
    bool CheckAndRefreshTokenSynchronous() override {
        ++SynchronousRefreshCalls;
        if (!SynchronousRefreshError.empty())
            throw Cumulo::EFirebaseResponse(SynchronousRefreshError);
        if (SynchronousRefreshResult)
            CurrentToken = NextToken;
        return SynchronousRefreshResult;
    }
    std::string Token() override { return CurrentToken; }
    bool NeedTokenRefresh() override { return TokenDue; }
    bool Authenticated() override { return true; }

private:
    Cumulo::TOnTokenRefresh fOnTokenRefresh;
    Cumulo::TOnRequestError fOnError;
};

} // namespace CloudTest
