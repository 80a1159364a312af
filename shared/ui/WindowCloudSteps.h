#pragma once

#include "shared/core/WindowCloud.h"
#include "shared/ui/CloudSequencer.h"
#include "shared/ui/SequenceEnded.h"

#include <QCoroFuture>
#include <QCoroTask>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>

namespace Tunewell {

class StepLog;

// A window's cloud and how its handlers reach it without blocking: each step that talks to the
// cloud runs on a worker thread and the handler's coroutine resumes on the UI thread with the
// result, the step's log lines already in the memo. Steps run inside a sequence (a turn of the
// window's sequencer), so only one worker step of a window touches its WindowCloud at a time.
// The worker holds what it touches: a window may go while a step still waits for the network.
class WindowCloudSteps {
public:
    WindowCloudSteps(IWindowCloudLog &Memo, WindowCloudRole Role,
                     std::shared_ptr<IWindowCloudClients> Clients, WindowCloudSettings Settings);
    ~WindowCloudSteps();
    WindowCloudSteps(const WindowCloudSteps &) = delete;
    WindowCloudSteps &operator=(const WindowCloudSteps &) = delete;

    // For the UI thread, while its sequence holds the turn (or nothing runs): no network.
    WindowCloud &Cloud();
    CloudSequencer &Sequencer() { return Sequencer_; }
    const CloudSequencer &Sequencer() const { return Sequencer_; }

    // Runs Step(WindowCloud &) off the UI thread and gives its result back on the UI thread;
    // an error it throws is thrown here. Throws ESequenceEnded, without running it, when the
    // sequence may not go on (the window is closing). The step may use the caller's locals by
    // reference: the caller waits for it. A lambda written inside a co_await must capture nothing
    // with a destructor (references, pointers, numbers): this compiler destroys such a lambda
    // there twice.
    template <class Step>
    auto Run(const CloudTurn &Turn, Step Work) -> QCoro::Task<std::invoke_result_t<Step &, WindowCloud &>>;
    // The same for work of the window that needs no cloud and no turn (reading a file).
    template <class Work> auto Aside(Work Job) -> QCoro::Task<std::invoke_result_t<Work &>>;

private:
    struct Shared;
    template <class Result> struct Outcome {
        std::optional<Result> Value;
        std::exception_ptr Error;
    };
    template <class Result> static Result Take(Outcome<Result> &Done);
    template <class Work> static auto OffUiThread(Work Job) -> QCoro::Task<std::invoke_result_t<Work &>>;
    // Resumes nothing when the window is gone: its handler must not go on without it.
    static QCoro::Task<> Deliver(std::shared_ptr<Shared> Of);

    std::shared_ptr<Shared> Shared_;
    CloudSequencer Sequencer_;
};

struct WindowCloudSteps::Shared {
    std::shared_ptr<StepLog> Log;
    std::unique_ptr<WindowCloud> Cloud;
    // False once the window is gone (UI thread only).
    bool Alive = true;
};

template <class Result> Result WindowCloudSteps::Take(Outcome<Result> &Done) {
    if (Done.Error)
        std::rethrow_exception(Done.Error);
    return std::move(*Done.Value);
}

template <class Work>
auto WindowCloudSteps::OffUiThread(Work Job) -> QCoro::Task<std::invoke_result_t<Work &>> {
    using Result = std::invoke_result_t<Work &>;
    // The result waits in a slot of its own: the future would copy it.
    auto done = std::make_shared<Outcome<std::conditional_t<std::is_void_v<Result>, bool, Result>>>();
    auto work = [done, Job = std::move(Job)]() mutable {
        try {
            if constexpr (std::is_void_v<Result>) {
                Job();
                done->Value = true;
            } else {
                done->Value.emplace(Job());
            }
        } catch (...) {
            done->Error = std::current_exception();
        }
    };
    auto future = QtConcurrent::run(std::move(work));
    co_await future;
    if constexpr (std::is_void_v<Result>)
        Take(*done);
    else
        co_return Take(*done);
}

template <class Work> auto WindowCloudSteps::Aside(Work Job) -> QCoro::Task<std::invoke_result_t<Work &>> {
    using Result = std::invoke_result_t<Work &>;
    // Nothing of this object is used once the work is off: the window may be gone when it returns.
    const std::shared_ptr<Shared> shared = Shared_;
    auto work = OffUiThread(std::move(Job));
    std::exception_ptr error;
    std::optional<std::conditional_t<std::is_void_v<Result>, bool, Result>> value;
    try {
        if constexpr (std::is_void_v<Result>) {
            co_await std::move(work);
            value = true;
        } else {
            value.emplace(co_await std::move(work));
        }
    } catch (...) {
        error = std::current_exception();
    }
    co_await Deliver(shared);
    if (error)
        std::rethrow_exception(error);
    if constexpr (!std::is_void_v<Result>)
        co_return std::move(*value);
}

template <class Step>
auto WindowCloudSteps::Run(const CloudTurn &Turn, Step Work)
    -> QCoro::Task<std::invoke_result_t<Step &, WindowCloud &>> {
    Turn.CheckMayGoOn();
    const std::shared_ptr<Shared> shared = Shared_;
    auto step = [shared, Work = std::move(Work)]() mutable { return Work(*shared->Cloud); };
    auto task = Aside(std::move(step));
    co_return co_await std::move(task);
}

} // namespace Tunewell
