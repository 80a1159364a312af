#include "Cumulo/Types.h"

namespace Cumulo {

std::string RequestMethodName(TRESTRequestMethod Method) {
    switch (Method) {
    case rmPOST:
        return "rmPOST";
    case rmPUT:
        return "rmPUT";
    case rmGET:
        return "rmGET";
    case rmDELETE:
        return "rmDELETE";
    case rmPATCH:
        return "rmPATCH";
    }
    return "rmUnknown";
}

std::string ContentTypeMime(TRESTContentType ContentType) {
    switch (ContentType) {
    case ctAPPLICATION_JSON:
        return "application/json";
    case ctAPPLICATION_X_WWW_FORM_URLENCODED:
        return "application/x-www-form-urlencoded";
    case ctAPPLICATION_OCTET_STREAM:
        return "application/octet-stream";
    case ctTEXT_PLAIN:
        return "text/plain";
    }
    return "application/octet-stream";
}

} // namespace Cumulo
