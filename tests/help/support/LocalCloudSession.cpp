#include "LocalCloudSession.h"

#include "LocalCloud.h"

namespace Tunewell::Testing {

struct LocalCloudSession::State {
    TunewellTesting::LocalCloud Cloud;
};

LocalCloudSession::LocalCloudSession() : fState(std::make_unique<State>()) {
    fState->Cloud.exportEmulatorHosts();
}

LocalCloudSession::~LocalCloudSession() = default;

void LocalCloudSession::Stop() {
    fState->Cloud.stop();
}

const TunewellTesting::LocalCloud &LocalCloudSession::Cloud() const {
    return fState->Cloud;
}

} // namespace Tunewell::Testing
