#pragma once

#include "shared/core/WindowCloudClients.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Tunewell::Testing {

// A scripted cloud for the window helpers: sign-ins check the e-mail and password, database
// calls are recorded as "METHOD path body" and answered by Answer (which may throw) or, without
// one, by a JSON tree kept in memory the way the realtime database keeps it. The windows call it
// from their worker threads, one call at a time; Answer runs outside its lock.
struct FakeCloudScript {
    std::string AcceptedEmail = "service@tunewell.local";
    std::string AcceptedPassword = "tunewell9";
    // Thrown by the sign-in instead of checking, when not empty.
    std::string SignInError;
    // An error status the sign-in answers with instead of checking, when not 0.
    int SignInStatus = 0;
    // When set, called by the sign-in first: it may throw, as a refused certificate does.
    std::function<void()> SignInThrows;
    std::vector<std::string> Calls;
    std::function<Cumulo::TOptionalJSON(const std::string &Method, const Cumulo::TStringDynArray &Path,
                                        const Cumulo::TJSONValue *Data)>
        Answer;
    // Runs on the caller's thread once a call is recorded, before it is answered: a test may hold
    // the call there (a cloud that does not answer) until it lets it go.
    std::function<void(const std::string &Call)> Holding;
    Cumulo::TJSONValue Tree = Cumulo::TJSONValue::object();
    int AuthenticationsCreated = 0;
    int DatabasesCreated = 0;
};

// The node at Path in Tree, or nullptr.
const Cumulo::TJSONValue *FindNode(const Cumulo::TJSONValue &Tree, const Cumulo::TStringDynArray &Path);

class FakeCloudClients : public IWindowCloudClients {
public:
    explicit FakeCloudClients(std::shared_ptr<FakeCloudScript> Script) : Script_(std::move(Script)) {}
    std::shared_ptr<Cumulo::IFirebaseAuthentication> CreateAuthentication(const std::string &ApiKey) override;
    std::shared_ptr<Cumulo::IRealTimeDB>
    CreateRealTimeDB(const std::string &ProjectID,
                     std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) override;

private:
    std::shared_ptr<FakeCloudScript> Script_;
};

} // namespace Tunewell::Testing
