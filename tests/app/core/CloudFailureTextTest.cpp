#include "app/core/CloudFailureText.h"

#include <gtest/gtest.h>

namespace Tunewell {
namespace {

// A reason that is a sentence of its own (a service's words) ends ours without a second stop.
TEST(CloudFailureText, TheReasonEndsTheSentenceWithOneFullStop) {
    struct Case {
        const char *What;
        std::string Text;
        std::string Expected;
    };
    const Case cases[] = {
        {"unreachable, bare reason", UnreachableNothingKeptText("h:1", "Connection refused", {}),
         "at h:1: Connection refused.\n"},
        {"unreachable, a sentence",
         UnreachableNothingKeptText("h:1", "The service is currently unavailable.", {}),
         "at h:1: The service is currently unavailable.\n"},
        {"kept, a sentence", UnreachableKeptText("h:1", "Try later!", 0), "at h:1: Try later!\n"},
        {"sign-in, a sentence", SignInRefusedText("h:1", "Not allowed."), "sign-in: Not allowed.\n"},
        {"read, bare reason", ReadRefusedText("h:1", "ESTACOES", "Permission denied"),
         "ESTACOES: Permission denied.\n"},
    };
    for (const Case &c : cases) {
        EXPECT_NE(c.Text.find(c.Expected), std::string::npos) << c.What << ": " << c.Text;
        EXPECT_EQ(c.Text.find(".."), std::string::npos) << c.What << ": " << c.Text;
    }
}

} // namespace
} // namespace Tunewell
