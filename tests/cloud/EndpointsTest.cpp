#include "Cumulo/Endpoints.h"

#include "Tunewell/BuildValues.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace Cumulo;

namespace {

TEST(Endpoints, EmulatorHostReplacesSchemeAndHost) {
    EXPECT_EQ(DatabaseURLForEmulator("https://proj-default-rtdb.firebaseio.com", "127.0.0.1:9000"),
              "http://127.0.0.1:9000");
    EXPECT_EQ(DatabaseURLForEmulator("http://127.0.0.1:9000", "localhost:9100"), "http://localhost:9100");
    EXPECT_EQ(AuthURLForEmulator("http://127.0.0.1:9099/securetoken.googleapis.com/v1/token", "h:1"),
              "http://h:1/securetoken.googleapis.com/v1/token");
    EXPECT_EQ(AuthURLForEmulator("https://www.googleapis.com/identitytoolkit/v3/relyingparty", "h:1"),
              "http://h:1/www.googleapis.com/identitytoolkit/v3/relyingparty");
    EXPECT_EQ(AuthURLForEmulator("https://securetoken.googleapis.com/v1/token", "localhost:9099"),
              "http://localhost:9099/securetoken.googleapis.com/v1/token");
    // URLs are taken apart by the client's one rule: user information never travels into the new
    // URL, and a query right after the host stays a query.
    EXPECT_EQ(DatabaseURLForEmulator("https://u:p@proj.firebaseio.com?ns=proj", "127.0.0.1:9000"),
              "http://127.0.0.1:9000?ns=proj");
    EXPECT_EQ(AuthURLForEmulator("https://u@securetoken.googleapis.com/v1/token", "h:1"),
              "http://h:1/securetoken.googleapis.com/v1/token");
    EXPECT_EQ(AuthURLForEmulator("http://[::1]:9099/securetoken.googleapis.com/v1/token", "h:1"),
              "http://h:1/securetoken.googleapis.com/v1/token");
}

TEST(Endpoints, BuildValuesUnlessAnEmulatorIsNamed) {
    unsetenv("FIREBASE_DATABASE_EMULATOR_HOST");
    unsetenv("FIREBASE_AUTH_EMULATOR_HOST");
    EXPECT_EQ(DatabaseBaseURL(), Tunewell::BuildValues::kDatabaseUrl);
    EXPECT_EQ(IdentityBaseURL(), Tunewell::BuildValues::kIdentityUrl);
    EXPECT_EQ(TokenBaseURL(), Tunewell::BuildValues::kTokenUrl);

    setenv("FIREBASE_DATABASE_EMULATOR_HOST", "127.0.0.1:4100", 1);
    setenv("FIREBASE_AUTH_EMULATOR_HOST", "127.0.0.1:4200", 1);
    EXPECT_TRUE(DatabaseBaseURL().starts_with("http://127.0.0.1:4100"));
    EXPECT_TRUE(IdentityBaseURL().starts_with("http://127.0.0.1:4200/"));
    EXPECT_TRUE(IdentityBaseURL().ends_with("/identitytoolkit/v3/relyingparty"));
    EXPECT_TRUE(TokenBaseURL().ends_with("/v1/token"));

    // An empty variable names no emulator.
    setenv("FIREBASE_DATABASE_EMULATOR_HOST", "", 1);
    EXPECT_EQ(DatabaseBaseURL(), Tunewell::BuildValues::kDatabaseUrl);
    unsetenv("FIREBASE_DATABASE_EMULATOR_HOST");
    unsetenv("FIREBASE_AUTH_EMULATOR_HOST");
}

} // namespace
