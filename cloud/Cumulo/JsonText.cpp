#include "Cumulo/JsonText.h"

#include "Cumulo/Utf8.h"

#include <cstdio>

namespace Cumulo {

namespace {

enum class TStringStyle {
    Escaped,    // request body: everything outside printable ASCII escaped, U+007F kept
    EscapedDel, // full text: as Escaped, U+007F escaped too
    QuotesOnly  // node and simple text: only the double quote escaped
};

void AppendUnicodeEscape(std::string &Out, unsigned Unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04X", Unit & 0xFFFF);
    Out += buffer;
}

void AppendEscapedString(std::string &Out, const std::string &Text, TStringStyle Style) {
    Out += '"';
    if (Style == TStringStyle::QuotesOnly) {
        for (char c : Text) {
            if (c == '"')
                Out += '\\';
            Out += c;
        }
        Out += '"';
        return;
    }
    std::size_t pos = 0;
    while (pos < Text.size()) {
        const char32_t c = NextCodePoint(Text, pos);
        switch (c) {
        case '"':
            Out += "\\\"";
            continue;
        case '\\':
            Out += "\\\\";
            continue;
        case '/':
            Out += "\\/";
            continue;
        case '\b':
            Out += "\\b";
            continue;
        case '\t':
            Out += "\\t";
            continue;
        case '\n':
            Out += "\\n";
            continue;
        case '\f':
            Out += "\\f";
            continue;
        case '\r':
            Out += "\\r";
            continue;
        default:
            break;
        }
        const bool escapeDel = Style == TStringStyle::EscapedDel && c == 0x7F;
        if (c < 0x20 || escapeDel || (c > 0x7F && c <= 0xFFFF)) {
            AppendUnicodeEscape(Out, c);
        } else if (c > 0xFFFF) {
            const char32_t v = c - 0x10000;
            AppendUnicodeEscape(Out, 0xD800 + (v >> 10));
            AppendUnicodeEscape(Out, 0xDC00 + (v & 0x3FF));
        } else {
            Out += static_cast<char>(c);
        }
    }
    Out += '"';
}

void AppendValue(std::string &Out, const TJSONValue &Value, TStringStyle Style) {
    switch (Value.type()) {
    case TJSONValue::value_t::object: {
        Out += '{';
        bool first = true;
        for (const auto &[name, member] : Value.items()) {
            if (!first)
                Out += ',';
            first = false;
            AppendEscapedString(Out, name, Style);
            Out += ':';
            AppendValue(Out, member, Style);
        }
        Out += '}';
        return;
    }
    case TJSONValue::value_t::array: {
        Out += '[';
        bool first = true;
        for (const auto &element : Value) {
            if (!first)
                Out += ',';
            first = false;
            AppendValue(Out, element, Style);
        }
        Out += ']';
        return;
    }
    case TJSONValue::value_t::string:
        AppendEscapedString(Out, Value.get_ref<const std::string &>(), Style);
        return;
    default:
        // Numbers, booleans and null: the library's compact token.
        Out += Value.dump();
        return;
    }
}

std::string Write(const TJSONValue &Value, TStringStyle Style) {
    std::string out;
    AppendValue(out, Value, Style);
    return out;
}

} // namespace

std::string RequestBodyText(const TJSONValue &Value) {
    return Write(Value, TStringStyle::Escaped);
}

std::string NodeText(const TJSONValue &Value) {
    return Write(Value, TStringStyle::QuotesOnly);
}

std::string FullJsonText(const TJSONValue &Value) {
    return Write(Value, TStringStyle::EscapedDel);
}

std::string SimpleJsonText(const TJSONValue &Value) {
    return Write(Value, TStringStyle::QuotesOnly);
}

} // namespace Cumulo
