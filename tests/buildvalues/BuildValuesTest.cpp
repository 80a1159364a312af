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
