#include "shared/ui/CloudSequencer.h"

#include "shared/ui/SequenceEnded.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace Tunewell {

struct CloudSequencer::Waiter {
    std::coroutine_handle<> Handle;
    bool Last = false;
    bool Ended = false;
};

struct CloudSequencer::State {
    bool Held = false;
    // The window is gone: nothing waiting is resumed any more.
    bool Gone = false;
    bool Closing = false;
    std::deque<std::shared_ptr<Waiter>> Waiting;
    std::function<void()> Idle;
};

// Resumed from the event loop, never inside the code that passed the turn on: the sequence that
// dropped its turn finishes first. Not once the window is gone: its handlers must not go on.
void CloudSequencer::ResumeLater(const std::shared_ptr<State> &Of, std::coroutine_handle<> Handle) {
    if (auto *application = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            application,
            [Of, Handle] {
                if (!Of->Gone)
                    Handle.resume();
            },
            Qt::QueuedConnection);
}

CloudSequencer::Turn::Turn(Turn &&Other) noexcept : State_(std::move(Other.State_)), Last_(Other.Last_) {}

CloudSequencer::Turn &CloudSequencer::Turn::operator=(Turn &&Other) noexcept {
    if (this != &Other) {
        Release();
        State_ = std::move(Other.State_);
        Last_ = Other.Last_;
    }
    return *this;
}

CloudSequencer::Turn::~Turn() {
    Release();
}

bool CloudSequencer::Turn::MayGoOn() const {
    return State_ && (Last_ || !State_->Closing);
}

void CloudSequencer::Turn::CheckMayGoOn() const {
    if (!MayGoOn())
        throw ESequenceEnded();
}

void CloudSequencer::Turn::Release() {
    if (!State_)
        return;
    const auto state = std::move(State_);
    State_.reset();
    if (state->Waiting.empty()) {
        state->Held = false;
        if (state->Idle)
            state->Idle();
        return;
    }
    // The turn goes straight to the first in line.
    const auto next = state->Waiting.front();
    state->Waiting.pop_front();
    ResumeLater(state, next->Handle);
}

bool CloudSequencer::Awaiter::await_ready() {
    if (!Last_ && State_->Closing) {
        Ended_ = true;
        return true;
    }
    if (Last_) {
        // Whatever waits now would write after the close record.
        State_->Closing = true;
        for (const auto &waiter : State_->Waiting) {
            waiter->Ended = true;
            ResumeLater(State_, waiter->Handle);
        }
        State_->Waiting.clear();
    }
    if (State_->Held)
        return false;
    State_->Held = true;
    return true;
}

void CloudSequencer::Awaiter::await_suspend(std::coroutine_handle<> Waiting) {
    Waiter_ = std::make_shared<Waiter>(Waiter{Waiting, Last_, false});
    State_->Waiting.push_back(Waiter_);
}

CloudSequencer::Turn CloudSequencer::Awaiter::await_resume() {
    if (Ended_ || (Waiter_ && Waiter_->Ended))
        return {};
    return Turn(State_, Last_);
}

CloudSequencer::CloudSequencer() : State_(std::make_shared<State>()) {}

CloudSequencer::~CloudSequencer() {
    // A turn that outlives the window passes on to nobody.
    State_->Gone = true;
    State_->Idle = nullptr;
    State_->Waiting.clear();
}

CloudSequencer::Awaiter CloudSequencer::NextTurn() {
    return {State_, false};
}

CloudSequencer::Awaiter CloudSequencer::LastTurn() {
    return {State_, true};
}

bool CloudSequencer::Closing() const {
    return State_->Closing;
}

bool CloudSequencer::Idle() const {
    return !State_->Held && State_->Waiting.empty();
}

void CloudSequencer::OnIdle(std::function<void()> Idle) {
    State_->Idle = std::move(Idle);
}

} // namespace Tunewell
