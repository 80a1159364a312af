#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace Tunewell {

// Turns SIGTERM and SIGINT (a session ending, Ctrl+C) into an ordinary close of the main
// window on the event loop, so the close record is written as when the user closes it.
class TerminationRequest : public QObject {
public:
    explicit TerminationRequest(std::function<void()> OnRequest, QObject *Parent = nullptr);
    ~TerminationRequest() override;

private:
    std::function<void()> OnRequest_;
    QSocketNotifier *Notifier_ = nullptr;
};

} // namespace Tunewell
