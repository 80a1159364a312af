#pragma once

#include "Cumulo/MainThread.h"

namespace Tunewell {

// Runs the cloud client's posted procedures on the Qt event loop of the main thread.
class QtMainThreadDispatcher : public Cumulo::IMainThreadDispatcher {
public:
    void Post(std::function<void()> Procedure) override;
    void ProcessPending() override;
};

} // namespace Tunewell
