#include "Tunewell/BuildValues.h"

#include <gtest/gtest.h>
#include <string_view>

using namespace Tunewell::BuildValues;

TEST(BuildValues, HaveTheShapesTheServicesExpect) {
    EXPECT_EQ(std::string_view(kApiKey).size(), 39u);
    EXPECT_EQ(std::string_view(kServicePassword).size(), 9u);
    EXPECT_TRUE(std::string_view(kIdentityUrl).ends_with("/identitytoolkit/v3/relyingparty"));
    EXPECT_TRUE(std::string_view(kTokenUrl).ends_with("/v1/token"));
    EXPECT_FALSE(std::string_view(kDatabaseUrl).ends_with("/"));
    // The version offered updates are compared with and the caption shows.
    EXPECT_EQ(std::string_view(kVersion), "2.2");
}

TEST(BuildValues, KnowWhenTheyAddressTheProgramsOwnLocalCloud) {
    const bool defaults =
        std::string_view(kDatabaseUrl) == "https://127.0.0.1:9000" &&
        std::string_view(kIdentityUrl) ==
            "https://127.0.0.1:9099/www.googleapis.com/identitytoolkit/v3/relyingparty" &&
        std::string_view(kTokenUrl) == "https://127.0.0.1:9099/securetoken.googleapis.com/v1/token";
    if (!defaults)
        GTEST_SKIP() << "a build for another cloud";
    EXPECT_TRUE(kLocalCloud);
    EXPECT_EQ(kLocalDatabasePort, 9000);
    EXPECT_EQ(kLocalAuthPort, 9099);
}
