#pragma once

#include "Cumulo/Interfaces.h"

#include <memory>
#include <string>

namespace Tunewell {

// Creates a window's cloud clients. The program binds the real cloud client; tests bind fakes
// or the real client against a local cloud.
class IWindowCloudClients {
public:
    virtual ~IWindowCloudClients() = default;
    virtual std::shared_ptr<Cumulo::IFirebaseAuthentication>
    CreateAuthentication(const std::string &ApiKey) = 0;
    // The database client keeps the authentication client it was created with.
    virtual std::shared_ptr<Cumulo::IRealTimeDB>
    CreateRealTimeDB(const std::string &ProjectID, std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) = 0;
};

} // namespace Tunewell
