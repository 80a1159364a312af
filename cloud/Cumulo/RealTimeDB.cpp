#include "Cumulo/RealTimeDB.h"

#include "Cumulo/Endpoints.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/MainThread.h"
#include "Cumulo/NodeAddress.h"
#include "Cumulo/NodeTextOfJSON.h"
#include "Cumulo/Request.h"
#include "Cumulo/Response.h"

#include <stdexcept>

namespace Cumulo {

namespace {
// The value of a successful answer. A node with a child named "error" is still the node: it is
// taken whole, not read as an error. Parsed once: a catalogue's answer takes a while.
TOptionalJSON AnswerValue(IFirebaseResponse &Response) {
    return Response.GetContentAsJSONVal();
}

// The answer's node text, read from the answer in place where the response is this client's.
std::optional<std::string> AnswerNodeText(IFirebaseResponse &Response) {
    if (const auto *ours = dynamic_cast<const TFirebaseResponse *>(&Response))
        return NodeTextOfJSON(ours->Content());
    return NodeTextOfJSON(Response.ContentAsString());
}

TJSONValue ServerVariableBody(const std::string &ServerVarName) {
    TJSONValue body = TJSONValue::object();
    body[".sv"] = ServerVarName;
    return body;
}

void ReportFailure(const TOnRequestError &OnError, const std::string &RequestID, const std::string &Message) {
    if (OnError)
        OnError(RequestID, Message);
    else
        TFirebaseHelpers::Log("Firebase failure in " + RequestID + ": " + Message);
}

// The asynchronous forms never raise into their caller: a request refused before it is sent is
// reported on the main thread as any failure is.
bool RefusedAsynchronously(const TStringDynArray &ResourceParams, const TJSONValue *Data,
                           const std::string &RequestID, const TOnRequestError &OnRequestError) {
    try {
        CheckNodeAddress(ResourceParams, Data);
        return false;
    } catch (const EInvalidRequest &e) {
        PostToMainThreadOrLog(
            [OnRequestError, RequestID, Message = std::string(e.what())] {
                ReportFailure(OnRequestError, RequestID, Message);
            },
            "Firebase failure in " + RequestID + ": " + e.what());
        return true;
    }
}
} // namespace

TRealTimeDB::TRealTimeDB(const std::string & /*ProjectID*/, std::shared_ptr<IFirebaseAuthentication> Auth)
    : TRealTimeDB(std::move(Auth), DatabaseBaseURL()) {}

TRealTimeDB::TRealTimeDB(std::shared_ptr<IFirebaseAuthentication> Auth, std::string BaseURL)
    : fBaseURL(std::move(BaseURL)), fAuth(std::move(Auth)) {
    if (!fAuth)
        throw std::invalid_argument("Authentication not initalized");
}

TStringDynArray TRealTimeDB::AddJSONExtToRequest(const TStringDynArray &ResourceParams) {
    TStringDynArray params = ResourceParams;
    if (params.empty())
        params.emplace_back(".json");
    else
        params.back() += ".json";
    return params;
}

TOptionalJSON TRealTimeDB::SendSynchronous(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                           const TJSONValue *Data, const TQueryParams *QueryParams) {
    CheckNodeAddress(ResourceParams, Data);
    TFirebaseRequest request(fBaseURL, std::string(), fAuth);
    auto response = request.SendRequestSynchronous(AddJSONExtToRequest(ResourceParams), Method, Data,
                                                   QueryParams, tmAuthParam);
    if (response->StatusOk())
        return AnswerValue(*response);
    if (response->StatusNotFound())
        return TJSONValue(nullptr);
    throw EFirebaseResponse(response->ErrorMsgOrStatusText(), response->StatusCode());
}

std::optional<std::string> TRealTimeDB::GetNodeTextSynchronous(const TStringDynArray &ResourceParams) {
    CheckNodeAddress(ResourceParams, nullptr);
    TFirebaseRequest request(fBaseURL, std::string(), fAuth);
    auto response =
        request.SendRequestSynchronous(AddJSONExtToRequest(ResourceParams), rmGET,
                                       static_cast<const TJSONValue *>(nullptr), nullptr, tmAuthParam);
    if (response->StatusOk())
        return AnswerNodeText(*response);
    if (response->StatusNotFound())
        return std::string("null");
    throw EFirebaseResponse(response->ErrorMsgOrStatusText(), response->StatusCode());
}

void TRealTimeDB::SendWithValueAnswer(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                      const TJSONValue *Data, TOnGetValue OnValue,
                                      TOnRequestError OnRequestError, const TQueryParams *QueryParams) {
    const TOnResponse onAnswer = [ResourceParams, OnValue,
                                  OnRequestError](const std::string &RequestID,
                                                  std::shared_ptr<IFirebaseResponse> Response) {
        try {
            TOptionalJSON value;
            if (Response->StatusOk())
                value = AnswerValue(*Response);
            else if (!Response->StatusNotFound())
                throw EFirebaseResponse(Response->ErrorMsgOrStatusText(), Response->StatusCode());
            if (OnValue)
                OnValue(ResourceParams, value);
        } catch (const std::exception &e) {
            ReportFailure(OnRequestError, RequestID, e.what());
        }
    };
    const std::string requestID = TFirebaseHelpers::ArrStrToCommaStr(ResourceParams);
    if (RefusedAsynchronously(ResourceParams, Data, requestID, fGate.Guard(OnRequestError)))
        return;
    TFirebaseRequest request(fBaseURL, requestID, fAuth);
    request.SendRequest(AddJSONExtToRequest(ResourceParams), Method, Data, QueryParams, tmAuthParam,
                        fGate.Guard(onAnswer), fGate.Guard(OnRequestError));
}

void TRealTimeDB::Get(const TStringDynArray &ResourceParams, TOnGetValue OnGetValue,
                      TOnRequestError OnRequestError, const TQueryParams *QueryParams) {
    SendWithValueAnswer(ResourceParams, rmGET, nullptr, std::move(OnGetValue), std::move(OnRequestError),
                        QueryParams);
}

TOptionalJSON TRealTimeDB::GetSynchronous(const TStringDynArray &ResourceParams,
                                          const TQueryParams *QueryParams) {
    return SendSynchronous(ResourceParams, rmGET, nullptr, QueryParams);
}

void TRealTimeDB::Put(const TStringDynArray &ResourceParams, const TJSONValue &Data, TOnGetValue OnPutValue,
                      TOnRequestError OnRequestError, const TQueryParams *QueryParams) {
    SendWithValueAnswer(ResourceParams, rmPUT, &Data, std::move(OnPutValue), std::move(OnRequestError),
                        QueryParams);
}

TOptionalJSON TRealTimeDB::PutSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                          const TQueryParams *QueryParams) {
    return SendSynchronous(ResourceParams, rmPUT, &Data, QueryParams);
}

void TRealTimeDB::Post(const TStringDynArray &ResourceParams, const TJSONValue &Data, TOnGetValue OnPostValue,
                       TOnRequestError OnRequestError, const TQueryParams *QueryParams) {
    SendWithValueAnswer(ResourceParams, rmPOST, &Data, std::move(OnPostValue), std::move(OnRequestError),
                        QueryParams);
}

TOptionalJSON TRealTimeDB::PostSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                           const TQueryParams *QueryParams) {
    return SendSynchronous(ResourceParams, rmPOST, &Data, QueryParams);
}

void TRealTimeDB::Patch(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                        TOnGetValue OnPatchValue, TOnRequestError OnRequestError,
                        const TQueryParams *QueryParams) {
    SendWithValueAnswer(ResourceParams, rmPATCH, &Data, std::move(OnPatchValue), std::move(OnRequestError),
                        QueryParams);
}

TOptionalJSON TRealTimeDB::PatchSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                            const TQueryParams *QueryParams) {
    return SendSynchronous(ResourceParams, rmPATCH, &Data, QueryParams);
}

void TRealTimeDB::Delete(const TStringDynArray &ResourceParams, TOnDelete OnDelete,
                         TOnRequestError OnRequestError, const TQueryParams *QueryParams) {
    const TOnResponse onAnswer = [ResourceParams, OnDelete,
                                  OnRequestError](const std::string &RequestID,
                                                  std::shared_ptr<IFirebaseResponse> Response) {
        if (Response->StatusOk() || Response->StatusNotFound()) {
            if (OnDelete)
                OnDelete(ResourceParams, Response->StatusOk());
            return;
        }
        ReportFailure(OnRequestError, RequestID, Response->ErrorMsgOrStatusText());
    };
    const std::string requestID = TFirebaseHelpers::ArrStrToCommaStr(ResourceParams);
    if (RefusedAsynchronously(ResourceParams, nullptr, requestID, fGate.Guard(OnRequestError)))
        return;
    TFirebaseRequest request(fBaseURL, requestID, fAuth);
    request.SendRequest(AddJSONExtToRequest(ResourceParams), rmDELETE,
                        static_cast<const TJSONValue *>(nullptr), QueryParams, tmAuthParam,
                        fGate.Guard(onAnswer), fGate.Guard(OnRequestError));
}

bool TRealTimeDB::DeleteSynchronous(const TStringDynArray &ResourceParams, const TQueryParams *QueryParams) {
    CheckNodeAddress(ResourceParams, nullptr);
    TFirebaseRequest request(fBaseURL, std::string(), fAuth);
    auto response =
        request.SendRequestSynchronous(AddJSONExtToRequest(ResourceParams), rmDELETE,
                                       static_cast<const TJSONValue *>(nullptr), QueryParams, tmAuthParam);
    if (response->StatusOk())
        return true;
    if (response->StatusNotFound())
        return false;
    throw EFirebaseResponse(response->ErrorMsgOrStatusText(), response->StatusCode());
}

void TRealTimeDB::GetServerVariables(const std::string &ServerVarName, const TStringDynArray &ResourceParams,
                                     TOnServerVariable OnServerVariable, TOnRequestError OnError) {
    SendServerVariable(fBaseURL, fAuth, ServerVarName, ResourceParams,
                       fGate.Guard(std::move(OnServerVariable)), fGate.Guard(std::move(OnError)));
}

void TRealTimeDB::SendServerVariable(const std::string &BaseURL,
                                     const std::shared_ptr<IFirebaseAuthentication> &Auth,
                                     const std::string &ServerVarName, const TStringDynArray &ResourceParams,
                                     TOnServerVariable OnServerVariable, TOnRequestError OnError) {
    auto onAnswer = [OnServerVariable, OnError](const std::string &RequestID,
                                                std::shared_ptr<IFirebaseResponse> Response) {
        try {
            if (Response->StatusOk()) {
                TOptionalJSON value = Response->GetContentAsJSONVal();
                if (OnServerVariable)
                    OnServerVariable(RequestID, value);
            } else if (OnError) {
                std::string message = Response->ErrorMsg();
                OnError(RequestID, message.empty() ? Response->StatusText() : message);
            }
        } catch (const std::exception &e) {
            if (OnError)
                OnError(RequestID, e.what());
            else
                TFirebaseHelpers::Log(std::string("Exception in OnServerVarResp: ") + e.what());
        }
    };
    if (RefusedAsynchronously(ResourceParams, nullptr, ServerVarName, OnError))
        return;
    TJSONValue body = ServerVariableBody(ServerVarName);
    TFirebaseRequest request(BaseURL, ServerVarName, Auth);
    request.SendRequest(AddJSONExtToRequest(ResourceParams), rmPUT, &body, nullptr, tmAuthParam, onAnswer,
                        OnError);
}

TOptionalJSON TRealTimeDB::GetServerVariablesSynchronous(const std::string &ServerVarName,
                                                         const TStringDynArray &ResourceParams) {
    CheckNodeAddress(ResourceParams, nullptr);
    TJSONValue body = ServerVariableBody(ServerVarName);
    TFirebaseRequest request(fBaseURL, std::string(), fAuth);
    auto response = request.SendRequestSynchronous(AddJSONExtToRequest(ResourceParams), rmPUT, &body, nullptr,
                                                   tmAuthParam);
    if (!response->StatusOk())
        return std::nullopt;
    return response->GetContentAsJSONVal();
}

} // namespace Cumulo
