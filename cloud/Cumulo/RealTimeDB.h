#pragma once

#include "Cumulo/Interfaces.h"
#include "Cumulo/ReleaseGate.h"

#include <memory>
#include <string>

namespace Cumulo {

class TEventListener;

// The client of the cloud realtime database: one URL per node, the ID token of the
// authentication client in the "auth" query of every request.
//
// Each asynchronous call reports to the callbacks given to that very call, so overlapping calls
// each hear their own answer; once the client is released, none of them is called.
class TRealTimeDB : public IRealTimeDB {
public:
    // The database of the build values (emulator variable honoured). ProjectID is accepted and
    // not used: the built-in project decides the host. An absent Auth raises std::invalid_argument.
    TRealTimeDB(const std::string &ProjectID, std::shared_ptr<IFirebaseAuthentication> Auth);
    // The same against another database base URL ("http[s]://host[:port]", no trailing slash).
    TRealTimeDB(std::shared_ptr<IFirebaseAuthentication> Auth, std::string BaseURL);
    // Ends a listening session for good, and closes the gate of the pending answers: nothing of
    // this client is called back afterwards.
    ~TRealTimeDB() override;
    TRealTimeDB(const TRealTimeDB &) = delete;
    TRealTimeDB &operator=(const TRealTimeDB &) = delete;

    void Get(const TStringDynArray &ResourceParams, TOnGetValue OnGetValue, TOnRequestError OnRequestError,
             const TQueryParams *QueryParams = nullptr) override;
    TOptionalJSON GetSynchronous(const TStringDynArray &ResourceParams,
                                 const TQueryParams *QueryParams = nullptr) override;
    void Put(const TStringDynArray &ResourceParams, const TJSONValue &Data, TOnGetValue OnPutValue,
             TOnRequestError OnRequestError, const TQueryParams *QueryParams = nullptr) override;
    TOptionalJSON PutSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                 const TQueryParams *QueryParams = nullptr) override;
    void Post(const TStringDynArray &ResourceParams, const TJSONValue &Data, TOnGetValue OnPostValue,
              TOnRequestError OnRequestError, const TQueryParams *QueryParams = nullptr) override;
    TOptionalJSON PostSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                  const TQueryParams *QueryParams = nullptr) override;
    void Patch(const TStringDynArray &ResourceParams, const TJSONValue &Data, TOnGetValue OnPatchValue,
               TOnRequestError OnRequestError, const TQueryParams *QueryParams = nullptr) override;
    TOptionalJSON PatchSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                   const TQueryParams *QueryParams = nullptr) override;
    void Delete(const TStringDynArray &ResourceParams, TOnDelete OnDelete, TOnRequestError OnRequestError,
                const TQueryParams *QueryParams = nullptr) override;
    bool DeleteSynchronous(const TStringDynArray &ResourceParams,
                           const TQueryParams *QueryParams = nullptr) override;
    std::shared_ptr<IFirebaseEvent> ListenForValueEvents(const TStringDynArray &ResourceParams,
                                                         TOnReceiveEvent ListenEvent,
                                                         TNotifyEvent OnStopListening,
                                                         TOnRequestError OnError) override;
    TDateTime GetLastKeepAliveTimeStamp() override;
    void GetServerVariables(const std::string &ServerVarName, const TStringDynArray &ResourceParams,
                            TOnServerVariable OnServerVariable, TOnRequestError OnError) override;
    std::optional<std::string> GetNodeTextSynchronous(const TStringDynArray &ResourceParams) override;
    TOptionalJSON GetServerVariablesSynchronous(const std::string &ServerVarName,
                                                const TStringDynArray &ResourceParams) override;

    // The node's segments with ".json" added to the last one; the root becomes [".json"].
    static TStringDynArray AddJSONExtToRequest(const TStringDynArray &ResourceParams);

private:
    TOptionalJSON SendSynchronous(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                  const TJSONValue *Data, const TQueryParams *QueryParams);
    // The PUT of {".sv": ServerVarName}; it needs no client, so a listener's stop can send it
    // without reaching into one.
    static void SendServerVariable(const std::string &BaseURL,
                                   const std::shared_ptr<IFirebaseAuthentication> &Auth,
                                   const std::string &ServerVarName, const TStringDynArray &ResourceParams,
                                   TOnServerVariable OnServerVariable, TOnRequestError OnError);
    void SendWithValueAnswer(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                             const TJSONValue *Data, TOnGetValue OnValue, TOnRequestError OnRequestError,
                             const TQueryParams *QueryParams);

    std::string fBaseURL;
    std::shared_ptr<IFirebaseAuthentication> fAuth;
    TReleaseGate fGate;
    // The running or last listening session.
    std::shared_ptr<TEventListener> fListener;
};

} // namespace Cumulo
