#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace Tunewell {

enum class TFieldType { Integer, Text };

// One column of the station table: its name, the name of its field object, its type and,
// for text, its size in characters.
struct TFieldDef {
    std::string Name;
    std::string ObjectName;
    TFieldType Type;
    int Size;
};

// A stored value: none, a whole number (integer fields) or UTF-8 text (text fields).
using TFieldValue = std::variant<std::monostate, std::int64_t, std::string>;

// Converts assigned text into a field's value. Text is cut to the field's size in characters
// (never inside a UTF-8 sequence); integer text must be decimal, and empty text gives no value.
// Throws EStationTableError for integer text that is not a whole number.
TFieldValue FieldValueFromText(const TFieldDef &Def, std::string_view Text);

// The value as the labels, the player and the cloud writes see it; empty when there is none.
std::string FieldDisplayText(const TFieldValue &Value);

} // namespace Tunewell
