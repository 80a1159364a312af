#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace Cumulo {

// Days since 1899-12-30 00:00; the fraction is the time of day.
using TDateTime = double;

// Path segments, one per level, without slashes; the empty list is the root.
using TStringDynArray = std::vector<std::string>;

// Query parameters; callers pass nullptr for "no dictionary".
using TQueryParams = std::map<std::string, std::string>;

// Member order matters to the services and to the windows' text readers.
using TJSONValue = nlohmann::ordered_json;

// A parsed answer that may be absent ("none"), which differs from a JSON null.
using TOptionalJSON = std::optional<TJSONValue>;

enum TTokenMode { tmNoToken, tmBearer, tmAuthParam };

enum TRESTRequestMethod { rmPOST, rmPUT, rmGET, rmDELETE, rmPATCH };

enum TRESTContentType {
    ctAPPLICATION_JSON,
    ctAPPLICATION_X_WWW_FORM_URLENCODED,
    ctAPPLICATION_OCTET_STREAM,
    ctTEXT_PLAIN
};

enum TTimeZone { tzUTC, tzLocalTime };

enum TThreeStateBoolean { tsbTrue, tsbFalse, tsbUnspecified };

// The doubled prefix of pvrpvrExpired is the established name.
enum TPasswordVerificationResult { pvrOpNotAllowed, pvrPassed, pvrpvrExpired, pvrInvalid };

// The enumerator names appear in log lines.
std::string RequestMethodName(TRESTRequestMethod Method);
std::string ContentTypeMime(TRESTContentType ContentType);

} // namespace Cumulo
