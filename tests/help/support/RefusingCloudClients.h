#pragma once

#include "app/core/WindowCloudClients.h"

#include <map>
#include <memory>

namespace Tunewell::Testing {

// The real cloud clients, except that the database refuses the next writes of the kinds asked
// for, as a cloud that turns a write down would (EFirebaseResponse "Permission denied").
class RefusingCloudClients : public IWindowCloudClients {
public:
    explicit RefusingCloudClients(std::shared_ptr<IWindowCloudClients> Real);

    // The next Count writes of this kind are refused; later ones go through.
    void Refuse(Cumulo::TRESTRequestMethod Method, int Count = 1);

    std::shared_ptr<Cumulo::IFirebaseAuthentication> CreateAuthentication(const std::string &ApiKey) override;
    std::shared_ptr<Cumulo::IRealTimeDB>
    CreateRealTimeDB(const std::string &ProjectID,
                     std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) override;

private:
    std::shared_ptr<IWindowCloudClients> fReal;
    std::shared_ptr<std::map<Cumulo::TRESTRequestMethod, int>> fRefusals;
};

} // namespace Tunewell::Testing
