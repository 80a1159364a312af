#pragma once

#include "AuthenticationDouble.h"

#include <atomic>
#include <mutex>
#include <string>

namespace CumuloTest {

// An authentication client that holds a token and counts renewals. The token changes with
// every renewal, so a test can see which token a connection carried. RenewOnCheck decides
// whether the local clock finds the token due (CheckAndRefreshTokenSynchronous renews then).
class TFakeAuthentication : public TestSupport::TAuthenticationDouble {
public:
    std::atomic<int> Checks{0};
    std::atomic<int> Refreshes{0};
    std::atomic<bool> RenewOnCheck{false};
    std::atomic<bool> RefreshFails{false};

    std::string Token() override {
        std::lock_guard lock(fMutex);
        return "token" + std::to_string(fGeneration);
    }
    bool CheckAndRefreshTokenSynchronous() override {
        ++Checks;
        if (!RenewOnCheck)
            return false;
        Renew();
        return true;
    }
    void RefreshToken(Cumulo::TOnTokenRefresh OnTokenRefresh, Cumulo::TOnRequestError OnError) override {
        ++Refreshes;
        if (RefreshFails) {
            if (OnError)
                OnError("Refresh token", "TOKEN_EXPIRED");
            return;
        }
        Renew();
        if (OnTokenRefresh)
            OnTokenRefresh(true);
    }
    bool Authenticated() override { return true; }
    Cumulo::TDateTime TokenExpiryDT() override { return 0; }
    bool NeedTokenRefresh() override { return RenewOnCheck; }
    std::string GetRefreshToken() override { return "refresh"; }
    std::shared_ptr<Cumulo::ITokenJWT> TokenJWT() override { return nullptr; }

private:
    void Renew() {
        std::lock_guard lock(fMutex);
        ++fGeneration;
    }

    std::mutex fMutex;
    int fGeneration = 1;
};

} // namespace CumuloTest
