#include "profile/core/LogCut.h"

#include <gtest/gtest.h>

using namespace Tunewell;

TEST(LogCut, TakesTheKeyOfTheCreationAnswer) {
    struct Case {
        QStringList Lines;
        const char *Expected;
    };
    const Case cases[] = {
        {{"memRTDB", R"(name: "-NxKey01")"}, "-NxKey01"},
        {{"memRTDB", "Post CADASTRADO failed: timeout", R"(name: "K2")"}, "K2"},
        {{"memRTDB"}, ""},
        {{}, ""},
        {{"memRTDB", R"(name: "unterminated)"}, ""},
        // The five characters after the first "}," are passed over.
        {{"memRTDB", R"(x},12345"K3")"}, "K3"},
        // An unsanitised error text fools the cut.
        {{"memRTDB", R"(Post CADASTRADO failed: "EMAIL")", R"(name: "K4")"}, "EMAIL"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ProfileIdFromLog(LogText(c.Lines)).toStdString(), c.Expected)
            << LogText(c.Lines).toStdString();
    }
}

TEST(LogCut, SanitisedFailureLinesCannotPoseAsTheAnswer) {
    for (const char *message : {R"("EMAIL")", R"({"error":{"code":1},"x":"y"})", "a},b\"c\"", "\"\"\"\""}) {
        const QStringList lines{"memRTDB", SanitizeLogLine(QString("Post CADASTRADO failed: ") + message),
                                R"(name: "-NKey")"};
        EXPECT_EQ(ProfileIdFromLog(LogText(lines)).toStdString(), "-NKey") << message;
    }
    EXPECT_EQ(SanitizeLogLine(R"(a"b},c)").toStdString(), "a'b} ,c");
}
