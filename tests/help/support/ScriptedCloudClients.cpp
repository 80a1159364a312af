#include "ScriptedCloudClients.h"

#include "Cumulo/Exceptions.h"
#include "shared/core/WindowCloud.h"

namespace Tunewell::Testing {

namespace {

using namespace Cumulo;

class ScriptedRealTimeDB : public IRealTimeDB {
public:
    ScriptedRealTimeDB(std::shared_ptr<IRealTimeDB> Real, std::shared_ptr<CloudScript> Script)
        : fReal(std::move(Real)), fScript(std::move(Script)) {}

    void Get(const TStringDynArray &P, TOnGetValue V, TOnRequestError E, const TQueryParams *Q) override {
        fReal->Get(P, std::move(V), std::move(E), Q);
    }
    TOptionalJSON GetSynchronous(const TStringDynArray &P, const TQueryParams *Q) override {
        return fReal->GetSynchronous(P, Q);
    }
    void Put(const TStringDynArray &P, const TJSONValue &D, TOnGetValue V, TOnRequestError E,
             const TQueryParams *Q) override {
        fReal->Put(P, D, std::move(V), std::move(E), Q);
    }
    TOptionalJSON PutSynchronous(const TStringDynArray &P, const TJSONValue &D,
                                 const TQueryParams *Q) override {
        Record(rmPUT, P, &D);
        return fReal->PutSynchronous(P, D, Q);
    }
    void Post(const TStringDynArray &P, const TJSONValue &D, TOnGetValue V, TOnRequestError E,
              const TQueryParams *Q) override {
        fReal->Post(P, D, std::move(V), std::move(E), Q);
    }
    TOptionalJSON PostSynchronous(const TStringDynArray &P, const TJSONValue &D,
                                  const TQueryParams *Q) override {
        Record(rmPOST, P, &D);
        return fReal->PostSynchronous(P, D, Q);
    }
    void Patch(const TStringDynArray &P, const TJSONValue &D, TOnGetValue V, TOnRequestError E,
               const TQueryParams *Q) override {
        fReal->Patch(P, D, std::move(V), std::move(E), Q);
    }
    TOptionalJSON PatchSynchronous(const TStringDynArray &P, const TJSONValue &D,
                                   const TQueryParams *Q) override {
        Record(rmPATCH, P, &D);
        return fReal->PatchSynchronous(P, D, Q);
    }
    void Delete(const TStringDynArray &P, TOnDelete V, TOnRequestError E, const TQueryParams *Q) override {
        fReal->Delete(P, std::move(V), std::move(E), Q);
    }
    bool DeleteSynchronous(const TStringDynArray &P, const TQueryParams *Q) override {
        Record(rmDELETE, P, nullptr);
        return fReal->DeleteSynchronous(P, Q);
    }
    std::shared_ptr<IFirebaseEvent> ListenForValueEvents(const TStringDynArray &P, TOnReceiveEvent L,
                                                         TNotifyEvent S, TOnRequestError E) override {
        return fReal->ListenForValueEvents(P, std::move(L), std::move(S), std::move(E));
    }
    TDateTime GetLastKeepAliveTimeStamp() override { return fReal->GetLastKeepAliveTimeStamp(); }
    void GetServerVariables(const std::string &N, const TStringDynArray &P, TOnServerVariable V,
                            TOnRequestError E) override {
        fReal->GetServerVariables(N, P, std::move(V), std::move(E));
    }
    TOptionalJSON GetServerVariablesSynchronous(const std::string &N, const TStringDynArray &P) override {
        return fReal->GetServerVariablesSynchronous(N, P);
    }

private:
    // Refused writes are not recorded: they never reached the cloud.
    void Record(TRESTRequestMethod Method, const TStringDynArray &Path, const TJSONValue *Data) {
        const std::lock_guard Guard(fScript->Lock);
        auto &Count = fScript->Refusals[Method];
        if (Count > 0) {
            --Count;
            throw EFirebaseResponse(fScript->RefusalMessage);
        }
        auto Line = RequestMethodName(Method) + " " + WindowCloud::GetPathFromResParams(Path);
        if (Data)
            Line += " " + Data->dump();
        fScript->Writes.push_back(Line);
    }

    std::shared_ptr<IRealTimeDB> fReal;
    std::shared_ptr<CloudScript> fScript;
};

} // namespace

ScriptedCloudClients::ScriptedCloudClients(std::shared_ptr<IWindowCloudClients> Real)
    : fReal(std::move(Real)), fScript(std::make_shared<CloudScript>()) {}

void ScriptedCloudClients::Refuse(Cumulo::TRESTRequestMethod Method, int Count) {
    const std::lock_guard Guard(fScript->Lock);
    fScript->Refusals[Method] = Count;
}

std::shared_ptr<Cumulo::IFirebaseAuthentication>
ScriptedCloudClients::CreateAuthentication(const std::string &ApiKey) {
    {
        const std::lock_guard Guard(fScript->Lock);
        ++fScript->AuthenticationsCreated;
    }
    return fReal->CreateAuthentication(ApiKey);
}

std::shared_ptr<Cumulo::IRealTimeDB>
ScriptedCloudClients::CreateRealTimeDB(const std::string &ProjectID,
                                       std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) {
    return std::make_shared<ScriptedRealTimeDB>(fReal->CreateRealTimeDB(ProjectID, std::move(Auth)), fScript);
}

} // namespace Tunewell::Testing
