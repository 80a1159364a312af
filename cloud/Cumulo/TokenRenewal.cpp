#include "Cumulo/TokenRenewal.h"

#include "Cumulo/MainThread.h"
#include "Cumulo/TransportLimits.h"
#include "Cumulo/WorkerThreads.h"

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

namespace Cumulo {

namespace {

// How often the wait looks whether it has to stop.
constexpr std::chrono::milliseconds StopPoll{20};

// The end of one renewal, shared with the side that runs it, which may outlive the waiter.
class TRenewalEnd {
public:
    enum TResult { Renewed, NotDue, Failed };
    struct TSeen {
        bool Finished = false;
        TResult Result = Failed;
        std::string ErrMsg;
    };

    void Finish(TResult Result, const std::string &ErrMsg = std::string()) {
        {
            std::lock_guard lock(fMutex);
            if (fSeen.Finished)
                return;
            fSeen = {true, Result, ErrMsg};
        }
        fDone.notify_all();
    }

    // What was seen when the renewal ended, Stopping was set or the limit passed.
    TSeen Await(const std::atomic<bool> &Stopping) {
        const auto limit = std::chrono::steady_clock::now() + kTokenRenewalLimit;
        std::unique_lock lock(fMutex);
        while (!fSeen.Finished && !Stopping && std::chrono::steady_clock::now() < limit)
            fDone.wait_for(lock, StopPoll);
        return fSeen;
    }

private:
    std::mutex fMutex;
    std::condition_variable fDone;
    TSeen fSeen;
};

// Hands a renewal to Run, which runs it aside (on a worker thread, on the main thread); any
// failure on the way, of Run included, ends the renewal as failed.
std::shared_ptr<TRenewalEnd> StartRenewal(const std::function<void(std::function<void()>)> &Run,
                                          std::function<void(const std::shared_ptr<TRenewalEnd> &)> Renew) {
    auto end = std::make_shared<TRenewalEnd>();
    try {
        Run([end, Renew = std::move(Renew)] {
            try {
                Renew(end);
            } catch (const std::exception &e) {
                end->Finish(TRenewalEnd::Failed, e.what());
            }
        });
    } catch (const std::exception &e) {
        end->Finish(TRenewalEnd::Failed, e.what());
    }
    return end;
}

} // namespace

TTokenRenewal RenewTokenAside(const std::shared_ptr<IFirebaseAuthentication> &Auth,
                              const std::atomic<bool> &Stopping) {
    // CheckAndRefreshTokenSynchronous renews only when the local clock finds the token due.
    auto seen =
        StartRenewal(StartWorkerThread, [Auth](const std::shared_ptr<TRenewalEnd> &End) {
            End->Finish(Auth->CheckAndRefreshTokenSynchronous() ? TRenewalEnd::Renewed : TRenewalEnd::NotDue);
        })->Await(Stopping);
    // The service may have refused a token that the local clock still finds fresh: RefreshToken
    // renews whatever the clock says; it is started and reports on the main thread.
    if (seen.Finished && seen.Result == TRenewalEnd::NotDue)
        seen = StartRenewal(PostToMainThread, [Auth](const std::shared_ptr<TRenewalEnd> &End) {
                   Auth->RefreshToken(
                       [End](bool Refreshed) {
                           End->Finish(Refreshed ? TRenewalEnd::Renewed : TRenewalEnd::Failed);
                       },
                       [End](const std::string &, const std::string &ErrMsg) {
                           End->Finish(TRenewalEnd::Failed, ErrMsg);
                       });
               })->Await(Stopping);
    if (!seen.Finished)
        return Stopping ? TTokenRenewal{TTokenRenewal::Stopped, "stopped"}
                        : TTokenRenewal{TTokenRenewal::Failed, "no answer"};
    if (seen.Result == TRenewalEnd::Renewed)
        return {TTokenRenewal::Renewed, std::string()};
    return {TTokenRenewal::Failed, seen.ErrMsg};
}

} // namespace Cumulo
