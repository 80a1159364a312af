#include "app/core/StationField.h"

#include "app/core/StationTableError.h"
#include "shared/core/CutToCharacters.h"

#include <charconv>

namespace Tunewell {

namespace {

std::int64_t ParseDecimal(std::string_view Text) {
    std::string_view digits = Text;
    // One sign at most: from_chars takes "-" but not "+", so a "+" is dropped first, and what
    // follows it must then be a digit ("+-5" is no whole number).
    const bool plus = !digits.empty() && digits.front() == '+';
    if (plus) {
        digits.remove_prefix(1);
    }
    std::int64_t value = 0;
    const char *end = digits.data() + digits.size();
    auto [last, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || (plus && (digits.front() < '0' || digits.front() > '9')) || error != std::errc() ||
        last != end) {
        throw EStationTableError("'" + std::string(Text) + "' is not a valid integer value");
    }
    return value;
}

} // namespace

TFieldValue FieldValueFromText(const TFieldDef &Def, std::string_view Text) {
    if (Text.empty()) {
        return std::monostate{};
    }
    if (Def.Type == TFieldType::Integer) {
        return ParseDecimal(Text);
    }
    return std::string(CutToCharacters(Text, Def.Size));
}

std::string FieldDisplayText(const TFieldValue &Value) {
    if (const auto *number = std::get_if<std::int64_t>(&Value)) {
        return std::to_string(*number);
    }
    if (const auto *text = std::get_if<std::string>(&Value)) {
        return *text;
    }
    return {};
}

} // namespace Tunewell
