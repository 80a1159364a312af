#include "Cumulo/JsonText.h"

#include <gtest/gtest.h>

using namespace Cumulo;

namespace {

struct TTrickyString {
    const char *Name;
    std::string Value;
    std::string Body; // RequestBodyText
    std::string Node; // NodeText (and SimpleJsonText)
    std::string Full; // FullJsonText
};

const TTrickyString kTricky[] = {
    {"plain", "abc", R"("abc")", R"("abc")", R"("abc")"},
    {"quote", "a\"b", R"("a\"b")", R"("a\"b")", R"("a\"b")"},
    {"backslash", "a\\b", R"("a\\b")", R"("a\b")", R"("a\\b")"},
    {"slash", "a/b", R"("a\/b")", R"("a/b")", R"("a\/b")"},
    {"named controls", "\b\t\n\f\r", R"("\b\t\n\f\r")", "\"\b\t\n\f\r\"", R"("\b\t\n\f\r")"},
    {"other controls", std::string("\x01\x1F\0", 3), R"("\u0001\u001F\u0000")",
     std::string("\"\x01\x1F\0\"", 5), R"("\u0001\u001F\u0000")"},
    {"delete", "a\x7F", "\"a\x7F\"", "\"a\x7F\"", R"("a\u007F")"},
    {"accents", "ãé", R"("\u00E3\u00E9")", "\"ãé\"", R"("\u00E3\u00E9")"},
    {"euro", "€", R"("\u20AC")", "\"€\"", R"("\u20AC")"},
    {"emoji", "\xF0\x9F\x8E\xB5", R"("\uD83C\uDFB5")", "\"\xF0\x9F\x8E\xB5\"", R"("\uD83C\uDFB5")"},
    {"malformed utf-8", "a\xC3", R"("a\uFFFD")", "\"a\xC3\"", R"("a\uFFFD")"},
};

class TrickyStrings : public ::testing::TestWithParam<TTrickyString> {};

TEST_P(TrickyStrings, InEveryForm) {
    const auto &c = GetParam();
    const TJSONValue value = c.Value;
    EXPECT_EQ(RequestBodyText(value), c.Body);
    EXPECT_EQ(NodeText(value), c.Node);
    EXPECT_EQ(SimpleJsonText(value), c.Node);
    EXPECT_EQ(FullJsonText(value), c.Full);
}

TEST_P(TrickyStrings, AsMemberNamesToo) {
    const auto &c = GetParam();
    TJSONValue object = TJSONValue::object();
    object[c.Value] = 1;
    EXPECT_EQ(RequestBodyText(object), "{" + c.Body + ":1}");
    EXPECT_EQ(NodeText(object), "{" + c.Node + ":1}");
    EXPECT_EQ(FullJsonText(object), "{" + c.Full + ":1}");
}

INSTANTIATE_TEST_SUITE_P(JsonText, TrickyStrings, ::testing::ValuesIn(kTricky), [](const auto &info) {
    std::string name = info.param.Name;
    for (auto &ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST(JsonText, RequestBodyIsPlainAscii) {
    const TJSONValue value = {{"nome", "Rádio \xF0\x9F\x8E\xB5 a/b"}, {"n", {1, 2.5, true, nullptr}}};
    const auto text = RequestBodyText(value);
    for (unsigned char c : text)
        EXPECT_LT(c, 0x80);
    EXPECT_EQ(text, R"({"nome":"R\u00E1dio \uD83C\uDFB5 a\/b","n":[1,2.5,true,null]})");
}

TEST(JsonText, CompactWithMembersInStoredOrder) {
    const auto value = TJSONValue::parse(R"({ "z" : { "b" : [ ] , "a" : { } }, "a" : -3 , "m":"x"})");
    EXPECT_EQ(NodeText(value), R"({"z":{"b":[],"a":{}},"a":-3,"m":"x"})");
    EXPECT_EQ(FullJsonText(value), R"({"z":{"b":[],"a":{}},"a":-3,"m":"x"})");
}

TEST(JsonText, ScalarTokens) {
    for (const auto &[value, text] : std::vector<std::pair<TJSONValue, std::string>>{
             {TJSONValue(nullptr), "null"},
             {TJSONValue(true), "true"},
             {TJSONValue(false), "false"},
             {TJSONValue(12), "12"},
             {TJSONValue(-7), "-7"},
             {TJSONValue(2.3), "2.3"},
             {TJSONValue(18446744073709551615ull), "18446744073709551615"}}) {
        EXPECT_EQ(SimpleJsonText(value), text);
        EXPECT_EQ(RequestBodyText(value), text);
    }
}

TEST(JsonText, NodeTextKeepsLineBreaksForTheReaders) {
    const TJSONValue value = {{"a", "x\r\ny"}};
    EXPECT_EQ(NodeText(value), "{\"a\":\"x\r\ny\"}");
}

} // namespace
