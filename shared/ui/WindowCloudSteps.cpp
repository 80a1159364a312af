#include "shared/ui/WindowCloudSteps.h"

#include "shared/ui/StepLog.h"

#include <coroutine>

namespace Tunewell {

namespace {
// Never ready and never resumed: what a handler awaits when its window is gone.
struct Forever {
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<>) const noexcept {}
    void await_resume() const noexcept {}
};
} // namespace

WindowCloudSteps::WindowCloudSteps(IWindowCloudLog &Memo, WindowCloudRole Role,
                                   std::shared_ptr<IWindowCloudClients> Clients, WindowCloudSettings Settings)
    : Shared_(std::make_shared<Shared>()) {
    Shared_->Log = std::make_shared<StepLog>(Memo);
    Shared_->Cloud =
        std::make_unique<WindowCloud>(*Shared_->Log, Role, std::move(Clients), std::move(Settings));
}

WindowCloudSteps::~WindowCloudSteps() {
    Shared_->Alive = false;
}

WindowCloud &WindowCloudSteps::Cloud() {
    return *Shared_->Cloud;
}

QCoro::Task<> WindowCloudSteps::Deliver(std::shared_ptr<Shared> Of) {
    if (!Of->Alive)
        co_await Forever{};
    Of->Log->Deliver();
}

} // namespace Tunewell
