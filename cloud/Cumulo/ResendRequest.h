#pragma once

#include "Cumulo/Interfaces.h"

#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace Cumulo {

// TResendRequest: everything needed to send an asynchronous request again once the token
// refresh it waits for has ended.
class TResendRequest {
public:
    std::string fBaseURI;
    std::string fRequestID;
    std::shared_ptr<IFirebaseAuthentication> fAuth;
    TStringDynArray fResParams;
    TRESTRequestMethod fMethod = rmGET;
    // A deep copy of the JSON body, or none.
    std::optional<TJSONValue> fData;
    // The stream body, or none; the caller keeps it alive.
    std::istream *fDataStream = nullptr;
    TRESTContentType fContentType = ctAPPLICATION_JSON;
    std::optional<TQueryParams> fQueryParams;
    TTokenMode fTokenMode = tmNoToken;
    TOnResponse fOnResponse;
    TOnRequestError fOnRequestError;
};

} // namespace Cumulo
