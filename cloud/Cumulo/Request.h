#pragma once

#include "Cumulo/AsyncHttp.h"
#include "Cumulo/Interfaces.h"
#include "Cumulo/ResendRequest.h"

#include <memory>
#include <string>

namespace Cumulo {

// The message every request waiting for a token refresh receives when the refresh fails.
inline constexpr const char *kTokenRefreshFailed = "Authorisation token refresh failed";

// TFirebaseRequest: composes, sends and (after a token refresh) resends one kind of request.
// Immutable after construction; one object may serve several sends.
class TFirebaseRequest : public IFirebaseRequest {
public:
    // BaseURI without trailing slash; Auth may be null.
    TFirebaseRequest(std::string BaseURI, std::string RequestID,
                     std::shared_ptr<IFirebaseAuthentication> Auth);

    void SendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method, const TJSONValue *Data,
                     const TQueryParams *QueryParams, TTokenMode TokenMode, TOnResponse OnResponse,
                     TOnRequestError OnRequestError) override;
    void SendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method, std::istream *Data,
                     TRESTContentType ContentType, const TQueryParams *QueryParams, TTokenMode TokenMode,
                     TOnResponse OnResponse, TOnRequestError OnRequestError) override;
    std::shared_ptr<IFirebaseResponse> SendRequestSynchronous(const TStringDynArray &ResourceParams,
                                                              TRESTRequestMethod Method,
                                                              const TJSONValue *Data,
                                                              const TQueryParams *QueryParams,
                                                              TTokenMode TokenMode) override;
    std::shared_ptr<IFirebaseResponse> SendRequestSynchronous(const TStringDynArray &ResourceParams,
                                                              TRESTRequestMethod Method, std::istream *Data,
                                                              TRESTContentType ContentType,
                                                              const TQueryParams *QueryParams,
                                                              TTokenMode TokenMode) override;

    // The URL-encoded token of the authentication client, or empty text without one.
    std::string EncodeToken() const;
    // The complete request URL: base, encoded path, query (with the token for tmAuthParam).
    std::string RequestURL(const TStringDynArray &ResourceParams, const TQueryParams *QueryParams,
                           TTokenMode TokenMode) const;

    // Requests waiting for a token refresh, across all request objects of the process.
    static std::size_t WaitingForTokenRefresh();

private:
    std::shared_ptr<IFirebaseResponse>
    InternalSendRequestSynchronous(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                                   std::istream *Data, TRESTContentType ContentType,
                                   const TQueryParams *QueryParams, TTokenMode TokenMode);
    void InternalSendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                             std::optional<std::string> Body, TRESTContentType ContentType,
                             const TQueryParams *QueryParams, TTokenMode TokenMode, TOnResponse OnResponse,
                             TOnRequestError OnRequestError);
    // Whether a request in this token mode must wait for a fresh token first.
    bool TokenDue(TTokenMode TokenMode) const;
    // Queues the request, whose body Record already holds, and asks the authentication client
    // for a fresh token.
    void WaitForTokenRefresh(TResendRequest Record, const TStringDynArray &ResourceParams,
                             TRESTRequestMethod Method, const TQueryParams *QueryParams, TTokenMode TokenMode,
                             TOnResponse OnResponse, TOnRequestError OnRequestError);

    static void SendRequestsAfterTokenRefresh(IFirebaseAuthentication *Auth, bool TokenRefreshed);
    static void FailRequestsWaitingFor(IFirebaseAuthentication *Auth);

    std::string fBaseURI;
    std::string fRequestID;
    std::shared_ptr<IFirebaseAuthentication> fAuth;
};

} // namespace Cumulo
