#pragma once

#include <memory>

namespace Tunewell::Testing {

// A local cloud on free ports for one test, with the build's service account; the cloud client
// is pointed at it for as long as the session lives.
class LocalCloudSession {
public:
    LocalCloudSession();
    ~LocalCloudSession();

private:
    struct State;
    std::unique_ptr<State> fState;
};

} // namespace Tunewell::Testing
