#pragma once

#include <QCoroTask>
#include <functional>

class QString;

namespace Tunewell {

// The program's general error display: the application object provides it.
class IGeneralErrorDisplay {
public:
    virtual ~IGeneralErrorDisplay() = default;
    virtual void ShowError(const QString &Message) = 0;
};

// Runs a handler of something the user did; an error that leaves it is shown by the application's
// general error display (logged when the application has none), and the program goes on. The
// toolkit's input and close code around a handler is not built to be unwound through, so every
// handler's error stops here instead of in the event loop.
void RunHandler(const std::function<void()> &Handler);

// Runs a handler that is a coroutine (one that waits for the cloud) to its end without waiting for
// it; an error that leaves it is shown as RunHandler shows it. A sequence ended by the window's
// close says nothing.
void RunHandlerTask(QCoro::Task<> Handler);

// A slot that runs Handler through RunHandler.
template <class Handler> auto Guarded(Handler Run) {
    return [Run = std::move(Run)] { RunHandler(Run); };
}

} // namespace Tunewell
