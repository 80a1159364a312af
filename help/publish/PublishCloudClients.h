#pragma once

#include "app/core/WindowCloudClients.h"

namespace Tunewell {

// The real cloud client for tunewell-publish: the authentication and database clients of the
// build's services (the emulator variables honoured).
class PublishCloudClients : public IWindowCloudClients {
public:
    std::shared_ptr<Cumulo::IFirebaseAuthentication> CreateAuthentication(const std::string &ApiKey) override;
    std::shared_ptr<Cumulo::IRealTimeDB>
    CreateRealTimeDB(const std::string &ProjectID,
                     std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) override;
};

} // namespace Tunewell
