#include "Cumulo/AuthenticationState.h"

#include <gtest/gtest.h>
#include <thread>

using namespace Cumulo;

namespace {

// Long enough to live outside the string's own buffer, where an unguarded copy would tear.
const std::string TokenA(300, 'a');
const std::string TokenB(500, 'b');

TEST(AuthenticationState, ReadersOnAnotherThreadNeverSeeATornToken) {
    TAuthenticationState state;
    state.TakeSignIn(TokenA, 1, "refresh-a");
    std::thread writer([&state] {
        for (int i = 0; i < 20000; ++i) {
            if (i % 2 == 0)
                state.TakeSignIn(TokenB, 2, "refresh-b");
            else
                state.TakeRefresh(TokenA, 1, std::string("refresh-a"));
        }
    });
    int torn = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string token = state.Token();
        if (token != TokenA && token != TokenB)
            ++torn;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}

} // namespace
