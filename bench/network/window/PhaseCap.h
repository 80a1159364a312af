#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace TunewellBench {

// Ends the process when a phase of a run lasts past its cap. The UI thread may then be stuck in
// a wait for the network and do nothing, so a thread of its own calls the phase's OnCap (which
// records and prints what is known, from any thread) and ends the process.
class PhaseCap {
public:
    PhaseCap();
    PhaseCap(const PhaseCap &) = delete;
    PhaseCap &operator=(const PhaseCap &) = delete;
    ~PhaseCap();

    void Arm(std::chrono::milliseconds After, std::function<void()> OnCap);
    // The phase ended in time; once this returns, its OnCap is not called.
    void Disarm();

private:
    void Watch();

    std::mutex Mutex_;
    std::condition_variable Changed_;
    std::function<void()> OnCap_;
    std::chrono::steady_clock::time_point Deadline_;
    bool Ending_ = false;
    std::thread Thread_;
};

} // namespace TunewellBench
