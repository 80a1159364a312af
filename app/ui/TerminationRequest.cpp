#include "app/ui/TerminationRequest.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace Tunewell {

namespace {
// The application-terminating flag: the signal handler may only write to this socket.
int gSignalSocket[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(gSignalSocket[0], &byte, 1);
}
} // namespace

TerminationRequest::TerminationRequest(std::function<void()> OnRequest, QObject *Parent)
    : QObject(Parent), OnRequest_(std::move(OnRequest)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSocket) != 0)
        return;
    Notifier_ = new QSocketNotifier(gSignalSocket[1], QSocketNotifier::Read, this);
    connect(Notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(gSignalSocket[1], &byte, 1);
        OnRequest_();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

TerminationRequest::~TerminationRequest() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    for (int &end : gSignalSocket) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

} // namespace Tunewell
