#pragma once

#include <memory>

namespace TunewellTesting {
class LocalCloud;
}

namespace Tunewell::Testing {

// A local cloud on free ports for one test, with the build's service account; the cloud client
// is pointed at it through the emulator variables.
class LocalCloudSession {
public:
    LocalCloudSession();
    ~LocalCloudSession();
    // As when the network goes down: nothing answers any more.
    void Stop();
    const TunewellTesting::LocalCloud &Cloud() const;

private:
    struct State;
    std::unique_ptr<State> fState;
};

} // namespace Tunewell::Testing
