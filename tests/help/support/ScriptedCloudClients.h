#pragma once

#include "shared/core/WindowCloudClients.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Tunewell::Testing {

// What the windows did through ScriptedCloudClients, shared with the clients it created.
struct CloudScript {
    // Refusals still to come per kind of write, and the error text they carry.
    std::map<Cumulo::TRESTRequestMethod, int> Refusals;
    std::string RefusalMessage = "Permission denied";
    // Every write and delete that reached the cloud, as "METHOD path body".
    std::vector<std::string> Writes;
    int AuthenticationsCreated = 0;
    // The windows record from their workers; a test reads once the window's steps are done.
    std::mutex Lock;
};

// The real cloud clients, recording every write and refusing the next ones of a kind when asked,
// as a cloud that turns a write down would (EFirebaseResponse with RefusalMessage).
class ScriptedCloudClients : public IWindowCloudClients {
public:
    explicit ScriptedCloudClients(std::shared_ptr<IWindowCloudClients> Real);

    void Refuse(Cumulo::TRESTRequestMethod Method, int Count = 1);
    CloudScript &Script() { return *fScript; }

    std::shared_ptr<Cumulo::IFirebaseAuthentication> CreateAuthentication(const std::string &ApiKey) override;
    std::shared_ptr<Cumulo::IRealTimeDB>
    CreateRealTimeDB(const std::string &ProjectID,
                     std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) override;

private:
    std::shared_ptr<IWindowCloudClients> fReal;
    std::shared_ptr<CloudScript> fScript;
};

} // namespace Tunewell::Testing
