#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/UrlEncoding.h"

#include <gtest/gtest.h>

using namespace Cumulo;

namespace {

TEST(UrlEncoding, EncodesByTheOneRule) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ABCXYZabcxyz0189", "ABCXYZabcxyz0189"},
        {"!$'()*-.@_", "!$'()*-.@_"},
        {" ", "+"},
        {"\"#%&+,/:;<=>?[\\]^`{|}~\x7F",
         "%22%23%25%26%2B%2C%2F%3A%3B%3C%3D%3E%3F%5B%5C%5D%5E%60%7B%7C%7D%7E%7F"},
        {std::string("\x01\t\n\0", 4), "%01%09%0A%00"},
        {"ã", "%C3%A3"},
        {"água fria", "%C3%A1gua+fria"},
        {"\xF0\x9F\x8E\xB5", "%F0%9F%8E%B5"},
        {"", ""},
    };
    for (const auto &[text, encoded] : cases)
        EXPECT_EQ(URLEncode(text), encoded) << text;
}

TEST(HelpersEncoding, ResourceParamsBecomeOnePathLevelEach) {
    EXPECT_EQ(TFirebaseHelpers::EncodeResourceParams({}), "");
    EXPECT_EQ(TFirebaseHelpers::EncodeResourceParams({"CADASTRADO", "a b", "x/y"}), "/CADASTRADO/a+b/x%2Fy");
    EXPECT_EQ(TFirebaseHelpers::EncodeResourceParams({"água fria"}), "/%C3%A1gua+fria");
    EXPECT_EQ(TFirebaseHelpers::EncodeResourceParams({"-_.!*'()@$"}), "/-_.!*'()@$");
    EXPECT_EQ(TFirebaseHelpers::EncodeResourceParams({"VERSOES.json"}), "/VERSOES.json");
}

TEST(HelpersEncoding, QueryParams) {
    const TQueryParams empty;
    const TQueryParams one = {{"key", "a b&c"}};
    const TQueryParams two = {{"a", "1"}, {"b", "2"}};
    const TQueryParams encodedKey = {{"order By", "\"$key\""}};
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParams(nullptr), "");
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParams(&empty), "");
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParams(&one), "?key=a+b%26c");
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParams(&two), "?a=1&b=2");
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParams(&encodedKey), "?order+By=%22$key%22");
}

TEST(HelpersEncoding, QueryParamsWithTokenNeverEncodeTheTokenAgain) {
    const TQueryParams empty;
    const TQueryParams one = {{"k", "v w"}};
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParamsWithToken(nullptr, "a%2Bb"), "?auth=a%2Bb");
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParamsWithToken(&empty, "T"), "?auth=T");
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParamsWithToken(&one, "T"), "?auth=T&k=v+w");
    EXPECT_EQ(TFirebaseHelpers::EncodeQueryParamsWithToken(nullptr, ""), "?auth=");
}

TEST(HelpersEncoding, Token) {
    EXPECT_EQ(TFirebaseHelpers::EncodeToken(""), "");
    EXPECT_EQ(TFirebaseHelpers::EncodeToken("x.y-z_0"), "?auth=x.y-z_0");
    EXPECT_EQ(TFirebaseHelpers::EncodeToken("a+b/c="), "?auth=a%2Bb%2Fc%3D");
}

TEST(HelpersLists, Joining) {
    EXPECT_EQ(TFirebaseHelpers::ArrStrToCommaStr({}), "");
    EXPECT_EQ(TFirebaseHelpers::ArrStrToCommaStr({"a", ""}), "a,");
    EXPECT_EQ(TFirebaseHelpers::ArrStrToCommaStr({"a", "b,c"}), "a,b,c");
    EXPECT_EQ(TFirebaseHelpers::ArrStrToQuotedCommaStr({}), "");
    EXPECT_EQ(TFirebaseHelpers::ArrStrToQuotedCommaStr({"a\"b", ""}), "\"a\"\"b\",\"\"");
}

TEST(HelpersLists, AddParamLeavesTheArgumentAlone) {
    const TStringDynArray none;
    EXPECT_EQ(TFirebaseHelpers::AddParamToResParams(none, "n"), TStringDynArray{"n"});
    const TStringDynArray path = {"a", "b"};
    EXPECT_EQ(TFirebaseHelpers::AddParamToResParams(path, "c"), (TStringDynArray{"a", "b", "c"}));
    EXPECT_EQ(path, (TStringDynArray{"a", "b"}));
}

TEST(HelpersEMail, IsEMailAdress) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"a@b.c", true},
        {"a@b", false},        // one domain label
        {"a..b@c.d", false},   // two points in a row
        {"\"a b\"@c.d", true}, // quoted local part with a space
        {"a@b.c!", true},      // the last character may end the walk
        {"a@b.c d", false},    // ... but only the last one
        {"a@b!.c", false},     // "!" before the last point
        {"a@1b.c", false},     // label starting with a digit
        {"a@b-.c", false},     // label ending with a hyphen
        {"a@b.c-", false},     // text ending after a hyphen
        {"a@b.c.", false},     // text ending on a point
        {"a@b-c.d", true},
        {"a@b--c.de", true},
        {"a@b.c1", true},
        {"a.b@c.d", true},
        {".a@b.c", false},
        {"a.@b.c", false},
        {"\"a\\\"b\"@c.d", true}, // escaped quote inside the quotes
        {"\"a\"b@c.d", false},
        {"\"a\".b@c.d", true},
        {"a b@c.d", false},
        {"joão@exemplo.br", true},   // accented atom characters
        {"a@exémplo.br", true},      // Unicode letters in the domain
        {"\xE2\x82\xAC@b.c", false}, // above U+00FF is no atom character
        {"a@b.c\r", true},
        {"", false},
        {"@b.c", false},
    };
    for (const auto &[address, valid] : cases)
        EXPECT_EQ(TFirebaseHelpers::IsEMailAdress(address), valid) << address;
}

TEST(HelpersIDs, CreateAutoIDUsesTheAlphabet) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string first = TFirebaseHelpers::CreateAutoID();
    const std::string second = TFirebaseHelpers::CreateAutoID();
    EXPECT_EQ(first.size(), 20u);
    EXPECT_EQ(first.find_first_not_of(alphabet), std::string::npos);
    EXPECT_NE(first, second);
}

TEST(HelpersIDs, IDAndGUIDRoundTrip) {
    for (int i = 0; i < 50; ++i) {
        const std::string id = TFirebaseHelpers::CreateAutoID();
        EXPECT_EQ(TFirebaseHelpers::ConvertGUIDtoID(TFirebaseHelpers::ConvertIDtoGUID(id)), id);
    }
    EXPECT_EQ(TFirebaseHelpers::ConvertIDtoGUID("AAAAAAAAAAAAAAAAAAAA").ToString(),
              "{00000000-0000-0000-0000-000000000000}");
    // "9" is position 61 (111101); twenty of them fill 120 bits, the last byte stays zero.
    EXPECT_EQ(TFirebaseHelpers::ConvertIDtoGUID("99999999999999999999").ToString(),
              "{F7DF7DF7-DF7D-F7DF-7DF7-DF7DF7DF7D00}");
}

TEST(HelpersIDs, MalformedIDsAreRejected) {
    EXPECT_THROW(TFirebaseHelpers::ConvertIDtoGUID("short"), EConvertError);
    EXPECT_THROW(TFirebaseHelpers::ConvertIDtoGUID("AAAAAAAAAAAAAAAAAAA-"), EConvertError);
}

} // namespace
