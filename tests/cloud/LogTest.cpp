#include "Cumulo/Log.h"

#include "Cumulo/Helpers.h"

#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

using namespace Cumulo;

namespace {

TEST(Log, RedactsEveryAuthParameterValue) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" Request: rmGET: http://h/VERSOES.json?auth=eyJ.a%2Bb",
         " Request: rmGET: http://h/VERSOES.json?auth=<redacted>"},
        {"http://h/x.json?auth=T&orderBy=%22a%22", "http://h/x.json?auth=<redacted>&orderBy=%22a%22"},
        {"http://h/x.json?a=1&auth=T#f", "http://h/x.json?a=1&auth=<redacted>#f"},
        {"Content from http://h/x.json?auth=T: ", "Content from http://h/x.json?auth=<redacted>: "},
        {"a ?auth=T and &auth=U", "a ?auth=<redacted> and &auth=<redacted>"},
        {"http://h/x.json?auth=", "http://h/x.json?auth="}, // nothing to hide
        {"http://h/x?oauth=T&author=x", "http://h/x?oauth=T&author=x"},
        {"no credentials here", "no credentials here"},
    };
    for (const auto &[line, redacted] : cases)
        EXPECT_EQ(RedactCredentials(line), redacted) << line;
}

TEST(Log, EveryLineReachesTheInstalledSinkWholeAndRedacted) {
    std::mutex mutex;
    std::vector<std::string> lines;
    auto previous = SetLogSink([&](const std::string &Line) {
        std::lock_guard lock(mutex);
        lines.push_back(Line);
    });
    TFirebaseHelpers::Log("GET http://h/a.json?auth=secret");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                WriteLog("writer " + std::to_string(t) + " line " + std::to_string(i));
        });
    for (auto &writer : writers)
        writer.join();
    SetLogSink(previous);

    ASSERT_EQ(lines.size(), 801u);
    EXPECT_EQ(lines.front(), "GET http://h/a.json?auth=<redacted>");
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].starts_with("writer ") && lines[i].find(" line ") != std::string::npos)
            << lines[i];
}

} // namespace
