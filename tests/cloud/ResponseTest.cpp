#include "Cumulo/Response.h"

#include "Cumulo/Exceptions.h"

#include <gtest/gtest.h>

using namespace Cumulo;

namespace {

std::shared_ptr<TFirebaseResponse> Answer(std::string Body, int Status = 200, std::string StatusText = "OK") {
    auto answer = std::make_shared<THttpResponse>();
    answer->StatusCode = Status;
    answer->StatusText = std::move(StatusText);
    answer->Body = std::move(Body);
    return std::make_shared<TFirebaseResponse>(answer);
}

template <typename F> std::string RaisedMessage(F Call) {
    try {
        Call();
    } catch (const EFirebaseResponse &e) {
        return e.what();
    }
    return "<nothing raised>";
}

TEST(Response, StatusClasses) {
    struct {
        int Code;
        bool Ok, Unauthorized, NotFound, Unavailable;
    } const cases[] = {{199, false, false, false, false}, {200, true, false, false, false},
                       {299, true, false, false, false},  {300, false, false, false, false},
                       {401, false, true, false, false},  {403, false, true, false, false},
                       {404, false, false, true, false},  {400, false, false, false, false},
                       {407, false, false, false, false}, {408, false, false, false, true},
                       {429, false, false, false, true},  {500, false, false, false, true},
                       {502, false, false, false, true},  {503, false, false, false, true},
                       {504, false, false, false, true},  {599, false, false, false, true},
                       {600, false, false, false, false}};
    for (const auto &c : cases) {
        auto response = Answer("", c.Code);
        EXPECT_EQ(response->StatusOk(), c.Ok) << c.Code;
        EXPECT_EQ(response->StatusIsUnauthorized(), c.Unauthorized) << c.Code;
        EXPECT_EQ(response->StatusNotFound(), c.NotFound) << c.Code;
        EXPECT_EQ(IsServiceUnavailable(c.Code), c.Unavailable) << c.Code;
    }
}

TEST(Response, WithoutAnAnswerEveryReadingRaises) {
    TFirebaseResponse empty;
    for (auto call : std::vector<std::function<void()>>{
             [&] { empty.StatusCode(); }, [&] { empty.StatusText(); }, [&] { empty.ContentAsString(); },
             [&] { empty.GetServerTime(tzUTC); }})
        EXPECT_EQ(RaisedMessage(call), "No initialized response class");
}

// How each operation treats the bodies the services send.
struct TBodyCase {
    const char *Body;
    bool IsJSONObj;
    std::string CheckForJSONObj; // raised message, or empty when it returns normally
    std::string ErrorMsg;        // result, or the raised message
    std::string ErrorMsgOrStatusText;
};

TEST(Response, OperationsOnServiceBodies) {
    const std::string notJSON = "The reponse from the firestore is not a JSON: ";
    const std::string notObject = "The reponse from the firestore is not a JSON object: ";
    const TBodyCase cases[] = {
        {R"({"error":{"message":"INVALID_PASSWORD"}})", false, "INVALID_PASSWORD", "INVALID_PASSWORD",
         "INVALID_PASSWORD"},
        {R"({"error":{"message":"EMAIL_NOT_FOUND","code":400}})", false, "EMAIL_NOT_FOUND", "EMAIL_NOT_FOUND",
         "EMAIL_NOT_FOUND"},
        {R"({"error":"x"})", false, "", "x", "x"},
        {R"({"error":401})", false, "", "401", "401"},
        {R"({"error":{"code":400}})", false, "", "", "Bad Request"},
        {R"({"error":true})", false, "", "true", "Bad Request"},
        {"", false, notJSON, notJSON, "Bad Request"},
        {"null", false, notObject + "null", notObject + "null", "Bad Request"},
        {"not json", false, notJSON + "not json", notJSON + "not json", "Bad Request"},
        {R"({"name":"-Nx1"})", true, "", "", "Bad Request"},
        {"[1]", false, notObject + "[1]", notObject + "[1]", "Bad Request"},
    };
    for (const auto &c : cases) {
        auto response = Answer(c.Body, 400, "Bad Request");
        SCOPED_TRACE(c.Body);
        EXPECT_EQ(response->IsJSONObj(), c.IsJSONObj);
        if (c.CheckForJSONObj.empty())
            EXPECT_NO_THROW(response->CheckForJSONObj());
        else
            EXPECT_EQ(RaisedMessage([&] { response->CheckForJSONObj(); }), c.CheckForJSONObj);
        std::string errorMsg;
        try {
            errorMsg = response->ErrorMsg();
        } catch (const EFirebaseResponse &e) {
            errorMsg = e.what();
        }
        EXPECT_EQ(errorMsg, c.ErrorMsg);
        EXPECT_EQ(response->ErrorMsgOrStatusText(), c.ErrorMsgOrStatusText);
    }
}

TEST(Response, CheckForJSONArr) {
    const std::string notArray = "The reponse from the firestore is not a JSON array: ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[]", notArray + "[]"},
        {"{}", notArray + "{}"},
        {"", "The reponse from the firestore is not a JSON: "},
        {R"([{"error":{"message":"M"}}])", "M"},
        {R"([{"error":"E"}])", "E"},
        {R"([{"error":{"code":1}}])", ""},
        {R"([{"ok":1},{"error":"later"}])", ""},
        {R"([1,2])", ""},
    };
    for (const auto &[body, message] : cases) {
        auto response = Answer(body);
        if (message.empty() && body != R"([{"error":{"code":1}}])")
            EXPECT_NO_THROW(response->CheckForJSONArr()) << body;
        else
            EXPECT_EQ(RaisedMessage([&] { response->CheckForJSONArr(); }), message) << body;
    }
}

TEST(Response, ContentAsJSON) {
    auto null = Answer("null");
    ASSERT_TRUE(null->GetContentAsJSONVal().has_value());
    EXPECT_TRUE(null->GetContentAsJSONVal()->is_null());
    EXPECT_THROW(null->GetContentAsJSONObj(), EInvalidTypeConversion);
    EXPECT_THROW(null->GetContentAsJSONArr(), EInvalidTypeConversion);

    auto invalid = Answer("{");
    EXPECT_FALSE(invalid->GetContentAsJSONVal().has_value());
    EXPECT_FALSE(invalid->GetContentAsJSONObj().has_value());
    EXPECT_FALSE(invalid->GetContentAsJSONArr().has_value());

    auto object = Answer(R"({"b":1,"a":"ã"})");
    EXPECT_EQ(object->GetContentAsJSONObj()->dump(), R"({"b":1,"a":"ã"})"); // member order kept
    EXPECT_THROW(object->GetContentAsJSONArr(), EInvalidTypeConversion);
    // Every call gives a value of its own.
    auto first = object->GetContentAsJSONObj();
    (*first)["b"] = 2;
    EXPECT_EQ((*object->GetContentAsJSONObj())["b"], 1);

    EXPECT_EQ(Answer("[1,2]")->GetContentAsJSONArr()->size(), 2u);
}

TEST(Response, ServerTimeFromTheDateHeader) {
    auto answer = std::make_shared<THttpResponse>();
    answer->StatusCode = 200;
    answer->Headers = {{"Content-Type", "application/json"}, {"date", "Sun, 06 Nov 1994 08:49:37 GMT"}};
    TFirebaseResponse response(answer);
    EXPECT_NEAR(response.GetServerTime(tzUTC), 34644.0 + (8 * 3600 + 49 * 60 + 37) / 86400.0, 1e-9);

    auto noDate = std::make_shared<THttpResponse>();
    EXPECT_THROW(TFirebaseResponse(noDate).GetServerTime(tzUTC), EConvertError);
}

} // namespace
