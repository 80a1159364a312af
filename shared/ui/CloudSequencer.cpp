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
    bool Closing = false;
    std::deque<std::shared_ptr<Waiter>> Waiting;
    std::function<void()> Idle;
};

namespace {
// Resumed from the event loop, never inside the code that passed the turn on: the sequence that
// dropped its turn finishes first.
void ResumeLater(std::coroutine_handle<> Handle) {
    if (auto *application = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            application, [Handle] { Handle.resume(); }, Qt::QueuedConnection);
}
} // namespace

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
    ResumeLater(next->Handle);
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
            ResumeLater(waiter->Handle);
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
    State_->Idle = nullptr;
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
