#pragma once

#include "shared/core/WindowCloudClients.h"

namespace Tunewell {

// The cloud client itself: the build's services, redirected by the emulator host variables.
class WindowCloudCumuloClients : public IWindowCloudClients {
public:
    std::shared_ptr<Cumulo::IFirebaseAuthentication> CreateAuthentication(const std::string &ApiKey) override;
    std::shared_ptr<Cumulo::IRealTimeDB>
    CreateRealTimeDB(const std::string &ProjectID,
                     std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) override;
};

} // namespace Tunewell
