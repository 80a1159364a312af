#pragma once

#include <coroutine>
#include <deque>
#include <functional>
#include <memory>

namespace Tunewell {

// One cloud sequence at a time per window: a first-in, first-out lock that coroutines await on
// the UI thread. A sequence holds its turn (CloudTurn) from its first step to its last; the next
// one waiting gets the turn when that turn is dropped. Closing the window takes the last turn:
// the sequences still waiting end at once, later ones never start, and the one running ends at
// its next step, so the close record is the window's last write.
class CloudSequencer {
    struct Waiter;
    struct State;

public:
    // A sequence's right to use the window's cloud; empty when the sequence was ended before
    // its turn came. Dropping it passes the turn on.
    class Turn {
    public:
        Turn() = default;
        Turn(Turn &&Other) noexcept;
        Turn &operator=(Turn &&Other) noexcept;
        Turn(const Turn &) = delete;
        Turn &operator=(const Turn &) = delete;
        ~Turn();

        explicit operator bool() const { return static_cast<bool>(State_); }
        // True while the sequence may take another step: it holds the turn and the window is not
        // closing, unless this is the close's own turn.
        bool MayGoOn() const;
        // Throws ESequenceEnded unless MayGoOn.
        void CheckMayGoOn() const;

    private:
        friend class CloudSequencer;
        Turn(std::shared_ptr<State> Held, bool Last) : State_(std::move(Held)), Last_(Last) {}
        void Release();

        std::shared_ptr<State> State_;
        bool Last_ = false;
    };

    // What co_await gives: the turn, once it is this sequence's.
    class Awaiter {
    public:
        Awaiter(std::shared_ptr<State> Of, bool Last) : State_(std::move(Of)), Last_(Last) {}
        bool await_ready();
        void await_suspend(std::coroutine_handle<> Waiting);
        Turn await_resume();

    private:
        std::shared_ptr<State> State_;
        bool Last_;
        bool Ended_ = false;
        std::shared_ptr<Waiter> Waiter_;
    };

    CloudSequencer();
    ~CloudSequencer();
    CloudSequencer(const CloudSequencer &) = delete;
    CloudSequencer &operator=(const CloudSequencer &) = delete;

    // The next turn, after every sequence asked before; empty once the window is closing.
    Awaiter NextTurn();
    // The close's turn: ends every sequence still waiting, lets none start from now on, and
    // comes when the running one has ended (at its next step at the latest).
    Awaiter LastTurn();
    // True once LastTurn was asked.
    bool Closing() const;
    // No turn held and none waiting.
    bool Idle() const;
    // Called (on the UI thread) each time the sequencer becomes idle.
    void OnIdle(std::function<void()> Idle);

private:
    static void ResumeLater(const std::shared_ptr<State> &Of, std::coroutine_handle<> Handle);

    std::shared_ptr<State> State_;
};

using CloudTurn = CloudSequencer::Turn;

} // namespace Tunewell
