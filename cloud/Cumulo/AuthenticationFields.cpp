#include "Cumulo/AuthenticationFields.h"

#include "Cumulo/AsciiCase.h"
#include "Cumulo/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace Cumulo::AuthenticationFields {

namespace {
const TJSONValue *Member(const TJSONValue &Object, const char *Name) {
    if (!Object.is_object())
        return nullptr;
    auto found = Object.find(Name);
    return found == Object.end() ? nullptr : &*found;
}

} // namespace

std::optional<std::string> ReadString(const TJSONValue &Object, const char *Name) {
    const TJSONValue *value = Member(Object, Name);
    if (value == nullptr)
        return std::nullopt;
    if (value->is_null())
        return std::string();
    if (value->is_string())
        return value->get<std::string>();
    return std::nullopt;
}

std::optional<std::int64_t> ReadWholeNumber(const TJSONValue &Object, const char *Name) {
    const TJSONValue *value = Member(Object, Name);
    if (value == nullptr)
        return std::nullopt;
    if (value->is_number_integer()) {
        if (value->is_number_unsigned() && value->get<std::uint64_t>() > INT64_MAX)
            return std::nullopt;
        return value->get<std::int64_t>();
    }
    if (!value->is_string())
        return std::nullopt;
    const std::string &text = value->get_ref<const std::string &>();
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    std::int64_t number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

std::optional<bool> ReadBoolean(const TJSONValue &Object, const char *Name) {
    const TJSONValue *value = Member(Object, Name);
    if (value == nullptr)
        return std::nullopt;
    if (value->is_boolean())
        return value->get<bool>();
    if (value->is_string()) {
        std::string text = LowerAscii(value->get<std::string>());
        if (text == "true")
            return true;
        if (text == "false")
            return false;
    }
    return std::nullopt;
}

TDateTime ExpiryFromLifetime(const TJSONValue &Object, const char *Name, TDateTime Now) {
    auto seconds = ReadWholeNumber(Object, Name);
    if (!seconds)
        return Now;
    return Now + static_cast<double>(*seconds) / 24 / 3600;
}

void RaiseForErrorStatus(IFirebaseResponse &Response) {
    if (Response.StatusOk())
        return;
    Response.CheckForJSONObj();
    throw EFirebaseResponse(Response.ErrorMsgOrStatusText(), Response.StatusCode());
}

} // namespace Cumulo::AuthenticationFields
