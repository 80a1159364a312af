#include "Cumulo/Response.h"

#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/JsonParse.h"

namespace Cumulo {

namespace {

// The text value of a JSON value: a string without quotes, a number as written, the words
// true, false and null; empty text for an object or an array.
std::string TextValue(const TJSONValue &Value) {
    if (Value.is_string())
        return Value.get<std::string>();
    if (Value.is_object() || Value.is_array())
        return {};
    return Value.dump();
}

TOptionalJSON Parse(const std::string &Text) {
    return ParseJSON(Text);
}

// "error"."message" when the error is an object that has one.
const TJSONValue *ErrorMessageMember(const TJSONValue &Error) {
    if (!Error.is_object())
        return nullptr;
    const auto found = Error.find("message");
    return found == Error.end() ? nullptr : &*found;
}

// The answer's JSON when it is of the wanted kind, or none; a value of another kind raises.
TOptionalJSON OfKind(TOptionalJSON Value, bool (TJSONValue::*IsKind)() const noexcept, const char *Kind) {
    if (Value && !((*Value).*IsKind)())
        throw EInvalidTypeConversion("Invalid type conversion: the answer is a JSON " +
                                     std::string(Value->type_name()) + ", not " + Kind);
    return Value;
}

} // namespace

TFirebaseResponse::TFirebaseResponse(std::shared_ptr<const THttpResponse> Answer)
    : fHttpResp(std::move(Answer)) {}

const THttpResponse &TFirebaseResponse::Answer() const {
    if (!fHttpResp)
        throw EFirebaseResponse("No initialized response class");
    return *fHttpResp;
}

std::string TFirebaseResponse::ContentAsString() {
    return Answer().Body;
}

const std::string &TFirebaseResponse::Content() const {
    return Answer().Body;
}

TOptionalJSON TFirebaseResponse::GetContentAsJSONVal() {
    return Parse(Content());
}

TOptionalJSON TFirebaseResponse::GetContentAsJSONObj() {
    return OfKind(GetContentAsJSONVal(), &TJSONValue::is_object, "an object");
}

TOptionalJSON TFirebaseResponse::GetContentAsJSONArr() {
    return OfKind(GetContentAsJSONVal(), &TJSONValue::is_array, "an array");
}

bool TFirebaseResponse::IsJSONObj() {
    const auto value = GetContentAsJSONVal();
    return value && value->is_object() && !value->contains("error");
}

void TFirebaseResponse::CheckForJSONObj() {
    const std::string body = ContentAsString();
    const auto value = Parse(body);
    if (!value)
        throw EFirebaseResponse("The reponse from the firestore is not a JSON: " + body, StatusCode());
    if (!value->is_object())
        throw EFirebaseResponse("The reponse from the firestore is not a JSON object: " + body, StatusCode());
    const auto error = value->find("error");
    if (error == value->end())
        return;
    if (const TJSONValue *message = ErrorMessageMember(*error))
        throw EFirebaseResponse(TextValue(*message), StatusCode());
}

void TFirebaseResponse::CheckForJSONArr() {
    const std::string body = ContentAsString();
    const auto value = Parse(body);
    if (!value)
        throw EFirebaseResponse("The reponse from the firestore is not a JSON: " + body, StatusCode());
    if (!value->is_array() || value->empty())
        throw EFirebaseResponse("The reponse from the firestore is not a JSON array: " + body, StatusCode());
    const TJSONValue &first = value->front();
    if (!first.is_object())
        return;
    const auto error = first.find("error");
    if (error == first.end())
        return;
    const TJSONValue *message = ErrorMessageMember(*error);
    throw EFirebaseResponse(TextValue(message ? *message : *error), StatusCode());
}

bool TFirebaseResponse::StatusOk() {
    const int code = StatusCode();
    return code >= 200 && code <= 299;
}

bool TFirebaseResponse::StatusIsUnauthorized() {
    const int code = StatusCode();
    return code == 401 || code == 403;
}

bool TFirebaseResponse::StatusNotFound() {
    return StatusCode() == 404;
}

int TFirebaseResponse::StatusCode() {
    return Answer().StatusCode;
}

std::string TFirebaseResponse::StatusText() {
    return Answer().StatusText;
}

std::string TFirebaseResponse::ErrorMsg() {
    const std::string body = ContentAsString();
    const auto value = Parse(body);
    if (!value)
        throw EFirebaseResponse("The reponse from the firestore is not a JSON: " + body, StatusCode());
    if (!value->is_object())
        throw EFirebaseResponse("The reponse from the firestore is not a JSON object: " + body, StatusCode());
    const auto error = value->find("error");
    if (error == value->end())
        return {};
    const TJSONValue *message = ErrorMessageMember(*error);
    return TextValue(message ? *message : *error);
}

std::string TFirebaseResponse::ErrorMsgOrStatusText() {
    std::string result = StatusText();
    const std::string body = ContentAsString();
    if (body.empty())
        return result;
    const auto value = Parse(body);
    if (!value || !value->is_object())
        return result;
    const auto error = value->find("error");
    if (error == value->end())
        return result;
    if (const TJSONValue *message = ErrorMessageMember(*error))
        return TextValue(*message);
    if (error->is_string() || error->is_number())
        return TextValue(*error);
    return result;
}

TDateTime TFirebaseResponse::GetServerTime(TTimeZone TimeZone) {
    const std::string date = Answer().Header("Date");
    return TimeZone == tzUTC ? TFirebaseHelpers::ConvertRFC5322ToUTCDateTime(date)
                             : TFirebaseHelpers::ConvertRFC5322ToLocalDateTime(date);
}

} // namespace Cumulo
