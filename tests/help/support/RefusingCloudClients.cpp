#include "RefusingCloudClients.h"

#include "Cumulo/Exceptions.h"

namespace Tunewell::Testing {

namespace {

using namespace Cumulo;

class RefusingRealTimeDB : public IRealTimeDB {
public:
    RefusingRealTimeDB(std::shared_ptr<IRealTimeDB> Real,
                       std::shared_ptr<std::map<TRESTRequestMethod, int>> Refusals)
        : fReal(std::move(Real)), fRefusals(std::move(Refusals)) {}

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
        RefuseIfAsked(rmPUT);
        return fReal->PutSynchronous(P, D, Q);
    }
    void Post(const TStringDynArray &P, const TJSONValue &D, TOnGetValue V, TOnRequestError E,
              const TQueryParams *Q) override {
        fReal->Post(P, D, std::move(V), std::move(E), Q);
    }
    TOptionalJSON PostSynchronous(const TStringDynArray &P, const TJSONValue &D,
                                  const TQueryParams *Q) override {
        RefuseIfAsked(rmPOST);
        return fReal->PostSynchronous(P, D, Q);
    }
    void Patch(const TStringDynArray &P, const TJSONValue &D, TOnGetValue V, TOnRequestError E,
               const TQueryParams *Q) override {
        fReal->Patch(P, D, std::move(V), std::move(E), Q);
    }
    TOptionalJSON PatchSynchronous(const TStringDynArray &P, const TJSONValue &D,
                                   const TQueryParams *Q) override {
        RefuseIfAsked(rmPATCH);
        return fReal->PatchSynchronous(P, D, Q);
    }
    void Delete(const TStringDynArray &P, TOnDelete V, TOnRequestError E, const TQueryParams *Q) override {
        fReal->Delete(P, std::move(V), std::move(E), Q);
    }
    bool DeleteSynchronous(const TStringDynArray &P, const TQueryParams *Q) override {
        RefuseIfAsked(rmDELETE);
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
    void RefuseIfAsked(TRESTRequestMethod Method) {
        auto &Count = (*fRefusals)[Method];
        if (Count > 0) {
            --Count;
            throw EFirebaseResponse("Permission denied");
        }
    }

    std::shared_ptr<IRealTimeDB> fReal;
    std::shared_ptr<std::map<TRESTRequestMethod, int>> fRefusals;
};

} // namespace

RefusingCloudClients::RefusingCloudClients(std::shared_ptr<IWindowCloudClients> Real)
    : fReal(std::move(Real)), fRefusals(std::make_shared<std::map<Cumulo::TRESTRequestMethod, int>>()) {}

void RefusingCloudClients::Refuse(Cumulo::TRESTRequestMethod Method, int Count) {
    (*fRefusals)[Method] = Count;
}

std::shared_ptr<Cumulo::IFirebaseAuthentication>
RefusingCloudClients::CreateAuthentication(const std::string &ApiKey) {
    return fReal->CreateAuthentication(ApiKey);
}

std::shared_ptr<Cumulo::IRealTimeDB>
RefusingCloudClients::CreateRealTimeDB(const std::string &ProjectID,
                                       std::shared_ptr<Cumulo::IFirebaseAuthentication> Auth) {
    return std::make_shared<RefusingRealTimeDB>(fReal->CreateRealTimeDB(ProjectID, std::move(Auth)),
                                                fRefusals);
}

} // namespace Tunewell::Testing
