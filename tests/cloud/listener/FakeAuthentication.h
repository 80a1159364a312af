#pragma once

#include "AuthenticationDouble.h"
#include "Cumulo/Exceptions.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace CumuloTest {

// An authentication client that holds a token, counts renewals, and fails as the real client
// does. The token changes with every renewal, so a test can see which token a connection
// carried. DueByClock decides whether the local clock finds the token due: only then does
// CheckAndRefreshTokenSynchronous send a renewal, and a refused one raises EFirebaseResponse with
// the service's text; otherwise it answers false without sending anything. RefreshToken renews
// whatever the clock says and reports a refusal to its error callback.
class TFakeAuthentication : public TestSupport::TAuthenticationDouble {
public:
    static constexpr const char *RefusalText = "TOKEN_EXPIRED";

    std::atomic<int> Checks{0};
    std::atomic<int> Refreshes{0};
    std::atomic<bool> DueByClock{false};
    // How many of the next renewals the token service refuses.
    std::atomic<int> RefusedRenewals{0};

    // From now on every synchronous renewal waits inside the token service until
    // ReleaseRenewals, as a slow service would; at most HoldLimit, so that a test against a
    // listener that waits for it still ends.
    void HoldRenewals() {
        std::lock_guard lock(fMutex);
        fHeld = true;
    }
    void ReleaseRenewals() {
        {
            std::lock_guard lock(fMutex);
            fHeld = false;
        }
        fChanged.notify_all();
    }
    // True once a held renewal has started, within Limit.
    bool WaitForHeldRenewal(std::chrono::milliseconds Limit) {
        std::unique_lock lock(fMutex);
        return fChanged.wait_for(lock, Limit, [this] { return fRenewalsHeld > 0; });
    }
    // Held renewals that have not returned yet.
    int RenewalsHeld() {
        std::lock_guard lock(fMutex);
        return fRenewalsHeld;
    }
    static constexpr std::chrono::seconds HoldLimit{10};

    std::string Token() override {
        std::lock_guard lock(fMutex);
        return "token" + std::to_string(fGeneration);
    }
    bool CheckAndRefreshTokenSynchronous() override {
        ++Checks;
        if (!DueByClock)
            return false;
        WhileHeld();
        if (TakeRefusal())
            throw Cumulo::EFirebaseResponse(RefusalText);
        Renew();
        return true;
    }
    void RefreshToken(Cumulo::TOnTokenRefresh OnTokenRefresh, Cumulo::TOnRequestError OnError) override {
        ++Refreshes;
        if (TakeRefusal()) {
            if (OnError)
                OnError("Refresh token", RefusalText);
            return;
        }
        Renew();
        if (OnTokenRefresh)
            OnTokenRefresh(true);
    }
    bool Authenticated() override { return true; }
    Cumulo::TDateTime TokenExpiryDT() override { return 0; }
    bool NeedTokenRefresh() override { return DueByClock; }
    std::string GetRefreshToken() override { return "refresh"; }
    std::shared_ptr<Cumulo::ITokenJWT> TokenJWT() override { return nullptr; }

private:
    void WhileHeld() {
        std::unique_lock lock(fMutex);
        if (!fHeld)
            return;
        ++fRenewalsHeld;
        fChanged.notify_all();
        fChanged.wait_for(lock, HoldLimit, [this] { return !fHeld; });
        --fRenewalsHeld;
    }
    bool TakeRefusal() {
        int left = RefusedRenewals;
        while (left > 0 && !RefusedRenewals.compare_exchange_weak(left, left - 1)) {
        }
        return left > 0;
    }
    void Renew() {
        std::lock_guard lock(fMutex);
        ++fGeneration;
    }

    std::mutex fMutex;
    std::condition_variable fChanged;
    int fGeneration = 1;
    bool fHeld = false;
    int fRenewalsHeld = 0;
};

} // namespace CumuloTest
