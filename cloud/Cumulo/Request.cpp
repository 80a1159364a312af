#include "Cumulo/Request.h"

#include "Cumulo/Helpers.h"
#include "Cumulo/HttpClient.h"
#include "Cumulo/JsonText.h"
#include "Cumulo/Log.h"
#include "Cumulo/Response.h"
#include "Cumulo/UrlEncoding.h"

#include <deque>
#include <exception>
#include <iterator>
#include <mutex>
#include <sstream>

namespace Cumulo {

namespace {

// Every asynchronous request that waits for a token refresh, in the order they were made.
// Requests of different authentication clients wait side by side; a refresh releases only
// those of its own client.
struct TWaitingRequests {
    std::mutex Mutex;
    std::deque<TResendRequest> Records;
};

TWaitingRequests &Waiting() {
    static TWaitingRequests waiting;
    return waiting;
}

std::deque<TResendRequest> TakeWaitingFor(IFirebaseAuthentication *Auth) {
    auto &waiting = Waiting();
    std::lock_guard lock(waiting.Mutex);
    std::deque<TResendRequest> taken, kept;
    for (auto &record : waiting.Records)
        (record.fAuth.get() == Auth ? taken : kept).push_back(std::move(record));
    waiting.Records = std::move(kept);
    return taken;
}

std::string ReadAll(std::istream *Stream) {
    if (!Stream)
        return {};
    return std::string(std::istreambuf_iterator<char>(*Stream), std::istreambuf_iterator<char>());
}

std::string WithoutBlanks(const std::string &Text) {
    std::string out;
    for (char c : Text)
        if (c != '\r' && c != '\n' && c != ' ')
            out += c;
    return out;
}

void ReportError(const TOnRequestError &OnRequestError, const std::string &RequestID,
                 const std::string &Message) {
    if (!OnRequestError)
        return;
    try {
        OnRequestError(RequestID, Message);
    } catch (const std::exception &e) {
        WriteLog("Exception in request " + RequestID + ": " + e.what());
    }
}

} // namespace

TFirebaseRequest::TFirebaseRequest(std::string BaseURI, std::string RequestID,
                                   std::shared_ptr<IFirebaseAuthentication> Auth)
    : fBaseURI(std::move(BaseURI)), fRequestID(std::move(RequestID)), fAuth(std::move(Auth)) {}

std::string TFirebaseRequest::EncodeToken() const {
    return fAuth ? URLEncode(fAuth->Token()) : std::string();
}

std::string TFirebaseRequest::RequestURL(const TStringDynArray &ResourceParams,
                                         const TQueryParams *QueryParams, TTokenMode TokenMode) const {
    const std::string query = TokenMode == tmAuthParam
                                  ? TFirebaseHelpers::EncodeQueryParamsWithToken(QueryParams, EncodeToken())
                                  : TFirebaseHelpers::EncodeQueryParams(QueryParams);
    return fBaseURI + TFirebaseHelpers::EncodeResourceParams(ResourceParams) + query;
}

std::shared_ptr<IFirebaseResponse> TFirebaseRequest::InternalSendRequestSynchronous(
    const TStringDynArray &ResourceParams, TRESTRequestMethod Method, std::istream *Data,
    TRESTContentType ContentType, const TQueryParams *QueryParams, TTokenMode TokenMode) {
    THttpClient client;
    client.SetCustomHeader("Content-Type", ContentTypeMime(ContentType));
    if (fAuth && TokenMode == tmBearer)
        client.SetCustomHeader("Authorization", "Bearer " + EncodeToken());
    const std::string url = RequestURL(ResourceParams, QueryParams, TokenMode);
    WriteLog(" Request: " + RequestMethodName(Method) + ": " + url);
    auto response = std::make_shared<TFirebaseResponse>(client.Execute(Method, url, Data));
    if (!response->StatusOk()) {
        WriteLog("Request failed: " + std::to_string(response->StatusCode()) + " / " +
                 response->StatusText());
        WriteLog("Content from " + url + ": ");
        WriteLog("> " + response->ContentAsString());
    }
    return response;
}

std::shared_ptr<IFirebaseResponse>
TFirebaseRequest::SendRequestSynchronous(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                         std::istream *Data, TRESTContentType ContentType,
                                         const TQueryParams *QueryParams, TTokenMode TokenMode) {
    // The body is read once so that a second send carries it whole again.
    const std::string body = ReadAll(Data);
    std::istringstream firstBody(body);
    auto response = InternalSendRequestSynchronous(ResourceParams, Method, Data ? &firstBody : nullptr,
                                                   ContentType, QueryParams, TokenMode);
    if (TokenMode != tmNoToken && response->StatusIsUnauthorized() && fAuth &&
        fAuth->CheckAndRefreshTokenSynchronous()) {
        std::istringstream secondBody(body);
        return InternalSendRequestSynchronous(ResourceParams, Method, Data ? &secondBody : nullptr,
                                              ContentType, QueryParams, TokenMode);
    }
    return response;
}

std::shared_ptr<IFirebaseResponse>
TFirebaseRequest::SendRequestSynchronous(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                         const TJSONValue *Data, const TQueryParams *QueryParams,
                                         TTokenMode TokenMode) {
    std::istringstream body(Data ? RequestBodyText(*Data) : std::string());
    return SendRequestSynchronous(ResourceParams, Method, Data ? &body : nullptr, ctAPPLICATION_JSON,
                                  QueryParams, TokenMode);
}

void TFirebaseRequest::SendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                   const TJSONValue *Data, const TQueryParams *QueryParams,
                                   TTokenMode TokenMode, TOnResponse OnResponse,
                                   TOnRequestError OnRequestError) {
    if (TokenDue(TokenMode)) {
        TResendRequest record;
        if (Data)
            record.fData = *Data;
        WaitForTokenRefresh(std::move(record), ResourceParams, Method, QueryParams, TokenMode,
                            std::move(OnResponse), std::move(OnRequestError));
        return;
    }
    InternalSendRequest(
        ResourceParams, Method, Data ? std::optional<std::string>(RequestBodyText(*Data)) : std::nullopt,
        ctAPPLICATION_JSON, QueryParams, TokenMode, std::move(OnResponse), std::move(OnRequestError));
}

void TFirebaseRequest::SendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                   std::istream *Data, TRESTContentType ContentType,
                                   const TQueryParams *QueryParams, TTokenMode TokenMode,
                                   TOnResponse OnResponse, TOnRequestError OnRequestError) {
    if (TokenDue(TokenMode)) {
        TResendRequest record;
        record.fDataStream = Data;
        record.fContentType = ContentType;
        WaitForTokenRefresh(std::move(record), ResourceParams, Method, QueryParams, TokenMode,
                            std::move(OnResponse), std::move(OnRequestError));
        return;
    }
    InternalSendRequest(ResourceParams, Method,
                        Data ? std::optional<std::string>(ReadAll(Data)) : std::nullopt, ContentType,
                        QueryParams, TokenMode, std::move(OnResponse), std::move(OnRequestError));
}

void TFirebaseRequest::InternalSendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                           std::optional<std::string> Body, TRESTContentType ContentType,
                                           const TQueryParams *QueryParams, TTokenMode TokenMode,
                                           TOnResponse OnResponse, TOnRequestError OnRequestError) {
    THttpRequest request;
    request.Method = Method;
    request.URL = RequestURL(ResourceParams, QueryParams, TokenMode);
    if (fAuth && TokenMode == tmBearer)
        request.Headers.emplace_back("Authorization", "Bearer " + EncodeToken());
    if (Body) {
        request.Headers.emplace_back("Content-Type", ContentTypeMime(ContentType));
        request.Body = std::move(Body);
    }
    const std::string method = RequestMethodName(Method);
    WriteLog(" Request: " + method + ": " + request.URL);
    const std::string url = request.URL;
    const std::string requestID = fRequestID;
    ExecuteAsync(
        std::move(request),
        [OnResponse, OnRequestError, requestID, method, url](std::shared_ptr<THttpResponse> Answer) {
            if (Answer->StatusCode >= 400) {
                WriteLog(" Protocol error: " + Answer->StatusText);
                WriteLog("        Details: " + WithoutBlanks(Answer->Body));
                WriteLog("        Request: " + method + ": " + url);
            }
            if (!OnResponse || TFirebaseHelpers::AppIsTerminated())
                return;
            try {
                OnResponse(requestID, std::make_shared<TFirebaseResponse>(std::move(Answer)));
            } catch (const std::exception &e) {
                if (OnRequestError)
                    ReportError(OnRequestError, requestID, e.what());
                else
                    WriteLog("Exception in request " + requestID + ": " + e.what());
            }
        },
        [OnRequestError, requestID](const std::string &ErrMsg) {
            ReportError(OnRequestError, requestID, ErrMsg);
        });
}

bool TFirebaseRequest::TokenDue(TTokenMode TokenMode) const {
    return TokenMode != tmNoToken && fAuth && fAuth->NeedTokenRefresh();
}

void TFirebaseRequest::WaitForTokenRefresh(TResendRequest Record, const TStringDynArray &ResourceParams,
                                           TRESTRequestMethod Method, const TQueryParams *QueryParams,
                                           TTokenMode TokenMode, TOnResponse OnResponse,
                                           TOnRequestError OnRequestError) {
    Record.fResParams = ResourceParams;
    Record.fMethod = Method;
    if (QueryParams)
        Record.fQueryParams = *QueryParams;
    Record.fTokenMode = TokenMode;
    Record.fOnResponse = std::move(OnResponse);
    Record.fOnRequestError = std::move(OnRequestError);
    Record.fBaseURI = fBaseURI;
    Record.fRequestID = fRequestID;
    Record.fAuth = fAuth;
    {
        auto &waiting = Waiting();
        std::lock_guard lock(waiting.Mutex);
        waiting.Records.push_back(std::move(Record));
    }
    // The key identifies this client's waiting requests; the records themselves keep it alive.
    IFirebaseAuthentication *key = fAuth.get();
    fAuth->RefreshToken([key](bool TokenRefreshed) { SendRequestsAfterTokenRefresh(key, TokenRefreshed); },
                        [key](const std::string &, const std::string &ErrMsg) {
                            WriteLog(std::string(kTokenRefreshFailed) + ": " + ErrMsg);
                            FailRequestsWaitingFor(key);
                        });
}

void TFirebaseRequest::SendRequestsAfterTokenRefresh(IFirebaseAuthentication *Auth, bool TokenRefreshed) {
    if (!TokenRefreshed) {
        FailRequestsWaitingFor(Auth);
        return;
    }
    for (auto &record : TakeWaitingFor(Auth)) {
        TFirebaseRequest request(record.fBaseURI, record.fRequestID, record.fAuth);
        std::optional<std::string> body;
        if (record.fData)
            body = RequestBodyText(*record.fData);
        else if (record.fDataStream)
            body = ReadAll(record.fDataStream);
        const TQueryParams *query = record.fQueryParams ? &*record.fQueryParams : nullptr;
        request.InternalSendRequest(record.fResParams, record.fMethod, std::move(body), record.fContentType,
                                    query, record.fTokenMode, std::move(record.fOnResponse),
                                    std::move(record.fOnRequestError));
    }
}

void TFirebaseRequest::FailRequestsWaitingFor(IFirebaseAuthentication *Auth) {
    for (auto &record : TakeWaitingFor(Auth))
        ReportError(record.fOnRequestError, record.fRequestID, kTokenRefreshFailed);
}

std::size_t TFirebaseRequest::WaitingForTokenRefresh() {
    auto &waiting = Waiting();
    std::lock_guard lock(waiting.Mutex);
    return waiting.Records.size();
}

} // namespace Cumulo
