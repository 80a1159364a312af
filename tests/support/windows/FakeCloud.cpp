#include "FakeCloud.h"

#include "AuthenticationDouble.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/HttpResponse.h"
#include "Cumulo/NodeAddress.h"
#include "shared/core/WindowCloud.h"

#include <mutex>
#include <stdexcept>

namespace Tunewell::Testing {

using namespace Cumulo;

namespace {
std::mutex &ScriptLock() {
    static std::mutex lock;
    return lock;
}

[[noreturn]] void NotScripted() {
    throw std::logic_error("not scripted");
}

TJSONValue &MakeNode(TJSONValue &Tree, const TStringDynArray &Path) {
    TJSONValue *node = &Tree;
    for (const auto &segment : Path) {
        if (!node->is_object())
            *node = TJSONValue::object();
        node = &(*node)[segment];
    }
    return *node;
}

TOptionalJSON ApplyToTree(FakeCloudScript &Script, const std::string &Method, const TStringDynArray &Path,
                          const TJSONValue *Data) {
    if (Method == "GET") {
        const TJSONValue *node = FindNode(Script.Tree, Path);
        return node ? *node : TJSONValue(nullptr);
    }
    if (Method == "PUT") {
        MakeNode(Script.Tree, Path) = *Data;
        return *Data;
    }
    if (Method == "PATCH") {
        TJSONValue &node = MakeNode(Script.Tree, Path);
        if (!node.is_object())
            node = TJSONValue::object();
        for (const auto &[name, value] : Data->items())
            node[name] = value;
        return *Data;
    }
    if (Method == "POST") {
        const std::string key = "-Fake" + std::to_string(Script.Calls.size());
        MakeNode(Script.Tree, Path)[key] = *Data;
        return TJSONValue{{"name", key}};
    }
    // DELETE: the parent loses the member; deleting what is not there still succeeds.
    if (Path.empty()) {
        Script.Tree = TJSONValue::object();
    } else if (FindNode(Script.Tree, TStringDynArray(Path.begin(), Path.end() - 1))) {
        TJSONValue &parent = MakeNode(Script.Tree, TStringDynArray(Path.begin(), Path.end() - 1));
        if (parent.is_object())
            parent.erase(Path.back());
    }
    return TJSONValue(true);
}

class FakeAuthentication : public TestSupport::TAuthenticationDouble {
public:
    explicit FakeAuthentication(std::shared_ptr<FakeCloudScript> Script) : Script_(std::move(Script)) {}

    std::shared_ptr<IFirebaseUser>
    SignInWithEmailAndPasswordSynchronous(const std::string &Email, const std::string &Password) override {
        if (Script_->SignInThrows)
            Script_->SignInThrows();
        if (!Script_->SignInError.empty())
            throw ETransport(Script_->SignInError);
        if (Script_->SignInStatus != 0)
            throw EFirebaseResponse(StandardReasonPhrase(Script_->SignInStatus), Script_->SignInStatus);
        if (Email != Script_->AcceptedEmail)
            throw EFirebaseResponse("EMAIL_NOT_FOUND");
        if (Password != Script_->AcceptedPassword)
            throw EFirebaseResponse("INVALID_PASSWORD");
        SignedIn_ = true;
        return nullptr;
    }
    bool Authenticated() override { return SignedIn_; }

    void SignOut() override { SignedIn_ = false; }
    bool CheckAndRefreshTokenSynchronous() override { return SignedIn_; }
    std::string Token() override { return SignedIn_ ? "token" : ""; }
    std::shared_ptr<ITokenJWT> TokenJWT() override { return nullptr; }
    TDateTime TokenExpiryDT() override { return 0; }
    bool NeedTokenRefresh() override { return false; }
    std::string GetRefreshToken() override { return ""; }

private:
    std::shared_ptr<FakeCloudScript> Script_;
    bool SignedIn_ = false;
};

class FakeRealTimeDB : public IRealTimeDB {
public:
    explicit FakeRealTimeDB(std::shared_ptr<FakeCloudScript> Script) : Script_(std::move(Script)) {}

    TOptionalJSON GetSynchronous(const TStringDynArray &Path, const TQueryParams *) override {
        return Call("GET", Path, nullptr);
    }
    TOptionalJSON PutSynchronous(const TStringDynArray &Path, const TJSONValue &Data,
                                 const TQueryParams *) override {
        return Call("PUT", Path, &Data);
    }
    TOptionalJSON PostSynchronous(const TStringDynArray &Path, const TJSONValue &Data,
                                  const TQueryParams *) override {
        return Call("POST", Path, &Data);
    }
    TOptionalJSON PatchSynchronous(const TStringDynArray &Path, const TJSONValue &Data,
                                   const TQueryParams *) override {
        return Call("PATCH", Path, &Data);
    }
    bool DeleteSynchronous(const TStringDynArray &Path, const TQueryParams *) override {
        auto answer = Call("DELETE", Path, nullptr);
        return answer && answer->is_boolean() && answer->get<bool>();
    }

    void Get(const TStringDynArray &, TOnGetValue, TOnRequestError, const TQueryParams *) override {
        NotScripted();
    }
    void Put(const TStringDynArray &, const TJSONValue &, TOnGetValue, TOnRequestError,
             const TQueryParams *) override {
        NotScripted();
    }
    void Post(const TStringDynArray &, const TJSONValue &, TOnGetValue, TOnRequestError,
              const TQueryParams *) override {
        NotScripted();
    }
    void Patch(const TStringDynArray &, const TJSONValue &, TOnGetValue, TOnRequestError,
               const TQueryParams *) override {
        NotScripted();
    }
    void Delete(const TStringDynArray &, TOnDelete, TOnRequestError, const TQueryParams *) override {
        NotScripted();
    }
    std::shared_ptr<IFirebaseEvent> ListenForValueEvents(const TStringDynArray &, TOnReceiveEvent,
                                                         TNotifyEvent, TOnRequestError) override {
        NotScripted();
    }
    TDateTime GetLastKeepAliveTimeStamp() override { return 0; }
    void GetServerVariables(const std::string &, const TStringDynArray &, TOnServerVariable,
                            TOnRequestError) override {
        NotScripted();
    }
    TOptionalJSON GetServerVariablesSynchronous(const std::string &, const TStringDynArray &) override {
        NotScripted();
    }

private:
    TOptionalJSON Call(const std::string &Method, const TStringDynArray &Path, const TJSONValue *Data) {
        // Refused unsent, as the real client refuses it.
        Cumulo::CheckNodeAddress(Path, Data);
        const std::string call = Method + " " + WindowCloud::GetPathFromResParams(Path) +
                                 (Data ? " " + Data->dump() : std::string());
        {
            // The windows call from their workers; a test reads once the window's steps are done.
            const std::lock_guard lock(ScriptLock());
            Script_->Calls.push_back(call);
        }
        if (Script_->Holding)
            Script_->Holding(call);
        if (!Script_->Answer) {
            const std::lock_guard lock(ScriptLock());
            return ApplyToTree(*Script_, Method, Path, Data);
        }
        // Outside the lock: an answer may hold its call as long as a test wants.
        return Script_->Answer(Method, Path, Data);
    }

    std::shared_ptr<FakeCloudScript> Script_;
};
} // namespace

const TJSONValue *FindNode(const TJSONValue &Tree, const TStringDynArray &Path) {
    const TJSONValue *node = &Tree;
    for (const auto &segment : Path) {
        if (!node->is_object() || !node->contains(segment))
            return nullptr;
        node = &(*node)[segment];
    }
    return node;
}

std::shared_ptr<IFirebaseAuthentication> FakeCloudClients::CreateAuthentication(const std::string &) {
    ++Script_->AuthenticationsCreated;
    return std::make_shared<FakeAuthentication>(Script_);
}

std::shared_ptr<IRealTimeDB> FakeCloudClients::CreateRealTimeDB(const std::string &,
                                                                std::shared_ptr<IFirebaseAuthentication>) {
    ++Script_->DatabasesCreated;
    return std::make_shared<FakeRealTimeDB>(Script_);
}

} // namespace Tunewell::Testing
