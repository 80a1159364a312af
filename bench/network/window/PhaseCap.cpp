#include "PhaseCap.h"

#include <cstdlib>

namespace TunewellBench {

PhaseCap::PhaseCap() : Thread_([this] { Watch(); }) {}

PhaseCap::~PhaseCap() {
    {
        const std::lock_guard lock(Mutex_);
        Ending_ = true;
    }
    Changed_.notify_all();
    Thread_.join();
}

void PhaseCap::Arm(std::chrono::milliseconds After, std::function<void()> OnCap) {
    {
        const std::lock_guard lock(Mutex_);
        OnCap_ = std::move(OnCap);
        Deadline_ = std::chrono::steady_clock::now() + After;
    }
    Changed_.notify_all();
}

void PhaseCap::Disarm() {
    {
        const std::lock_guard lock(Mutex_);
        OnCap_ = nullptr;
    }
    Changed_.notify_all();
}

void PhaseCap::Watch() {
    std::unique_lock lock(Mutex_);
    while (!Ending_) {
        if (!OnCap_) {
            Changed_.wait(lock);
            continue;
        }
        if (Changed_.wait_until(lock, Deadline_) == std::cv_status::timeout && OnCap_ &&
            std::chrono::steady_clock::now() >= Deadline_) {
            // Under the lock, so a Disarm racing it waits for the end instead of going on.
            OnCap_();
            std::_Exit(0);
        }
    }
}

} // namespace TunewellBench
