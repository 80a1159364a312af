#include "shared/core/WindowCloudCumuloClients.h"

#include "Cumulo/Authentication.h"
#include "Cumulo/RealTimeDB.h"

namespace Tunewell {

std::shared_ptr<Cumulo::IFirebaseAuthentication>
WindowCloudCumuloClients::CreateAuthentication(const std::string &ApiKey) {
    return std::make_shared<Cumulo::TFirebaseAuthentication>(ApiKey);
}

std::shared_ptr<Cumulo::IRealTimeDB>
WindowCloudCumuloClients::CreateRealTimeDB(const std::string &ProjectID,
                                           std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) {
    return std::make_shared<Cumulo::TRealTimeDB>(ProjectID, std::move(Auth));
}

} // namespace Tunewell
