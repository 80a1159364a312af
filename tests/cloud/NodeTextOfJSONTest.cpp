#include "Cumulo/NodeTextOfJSON.h"

#include "Cumulo/JsonParse.h"
#include "Cumulo/JsonText.h"

#include <gtest/gtest.h>
#include <string>

using namespace Cumulo;

namespace {

// What the streamed form must equal: the node text of the parsed value, or none.
std::optional<std::string> ThroughTheValue(std::string_view Text) {
    const auto value = ParseJSON(Text);
    return value ? std::optional<std::string>(NodeText(*value)) : std::nullopt;
}

std::string Nested(std::size_t Depth) {
    return std::string(Depth, '[') + std::string(Depth, ']');
}

} // namespace

TEST(NodeTextOfJSON, WritesWhatTheParsedValueWouldWrite) {
    const std::string manyKeys = [] {
        std::string text = "{";
        for (int i = 0; i < 40; ++i)
            text += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":" + std::to_string(i);
        return text + ",\"k7\":\"again\"}";
    }();
    const std::string cases[] = {
        R"({"-Nk1":{"num":"1","nome":"R\u00E1dio \"A\u00E7\u00E3o\"","url":"http:\/\/x\/a b"},"-Nk2":{"num":"2"}})",
        " {\r\n \"a\" : [ 1 , -2 , 1.5 , 1e5 , -0 , 0.0 , 1E-3 , 18446744073709551615 , -9223372036854775808 "
        "] } ",
        R"({"s":"tab\tline\nback\\slash\/ctl\u0001","e":"\uD83C\uDFB5","empty":{},"list":[],"t":true,"f":false,"n":null})",
        R"({"a":1,"b":{"a":2,"a":3},"a":4})",
        R"([{"x":1,"x":2},{"x":3}])",
        manyKeys,
        R"("just text")",
        "12",
        "null",
        "{}",
        Nested(MaxJSONNesting),
        // None of these is JSON.
        "",
        "{",
        R"({"a":1,})",
        R"({"a":1} x)",
        R"({"a":"\x"})",
        "{\"a\":\"raw\nline\"}",
        Nested(MaxJSONNesting + 1),
    };
    for (const auto &text : cases)
        EXPECT_EQ(NodeTextOfJSON(text), ThroughTheValue(text)) << text.substr(0, 80);
}
