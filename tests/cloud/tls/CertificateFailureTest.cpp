// A peer whose certificate cannot be trusted is refused, once, with the host and the reason, by
// a plain request and by a sign-in alike; nothing tries it again, with TLS or without.
#include "Cumulo/Authentication.h"
#include "Cumulo/CertificateProblem.h"
#include "Cumulo/HttpClient.h"
#include "Tunewell/Test/TestAuthority.h"
#include "Tunewell/Test/TlsPeer.h"

#include <gtest/gtest.h>
#include <optional>

using namespace Cumulo;
using Tunewell::Test::TTestAuthority;
using Tunewell::Test::TTlsPeer;

namespace {

// What a call raised: nothing, a certificate failure, or another failure (a transport failure, or
// an answer that is no sign-in's).
struct TOutcome {
    bool Raised = false;
    std::optional<TCertificateProblem> Problem;
    std::string Host;
    std::string Message;
};

template <class Call> TOutcome Outcome(Call &&Calling) {
    try {
        Calling();
        return {};
    } catch (const ECertificate &error) {
        return {true, error.Problem(), error.Host(), error.what()};
    } catch (const std::exception &error) {
        return {true, std::nullopt, {}, error.what()};
    }
}

class CertificateFailure : public testing::Test {
protected:
    void SetUp() override { ::setenv("TUNEWELL_CA_FILE", fTrusted.File().c_str(), 1); }
    void TearDown() override { ::unsetenv("TUNEWELL_CA_FILE"); }

    TTestAuthority fTrusted{"trusted"};
    TTestAuthority fStranger{"stranger"};
};

TEST_F(CertificateFailure, EachIsRefusedOnceWithItsHostAndReason) {
    struct Case {
        const char *What;
        TunewellCloud::CertifiedKey Served;
        std::optional<TCertificateProblem> Problem;
    };
    const Case cases[] = {
        {"trusted", fTrusted.Issue({"127.0.0.1"}), std::nullopt},
        {"unknown authority", fStranger.Issue({"127.0.0.1"}), TCertificateProblem::UnknownAuthority},
        {"wrong host", fTrusted.Issue({"other.example", "127.0.0.2"}), TCertificateProblem::WrongHost},
        {"expired", fTrusted.IssueExpired({"127.0.0.1"}), TCertificateProblem::Expired},
    };
    for (const Case &c : cases) {
        TTlsPeer peer(c.Served);
        const std::string host = "127.0.0.1:" + std::to_string(peer.Port());

        const TOutcome request = Outcome([&] { THttpClient().Get(peer.URL("/node.json")); });
        EXPECT_EQ(request.Raised, c.Problem.has_value()) << c.What << ": " << request.Message;
        EXPECT_EQ(request.Problem, c.Problem) << c.What << ": " << request.Message;
        if (c.Problem) {
            EXPECT_EQ(request.Host, host) << c.What;
            EXPECT_NE(request.Message.find(host), std::string::npos) << c.What << ": " << request.Message;
        }

        // A sign-in's request layer sends once more only after a refreshed token, never after a
        // refused certificate.
        TFirebaseAuthentication auth("key",
                                     TAuthenticationEndpoints{peer.URL("/identity"), peer.URL("/token")});
        const TOutcome signIn =
            Outcome([&] { auth.SignInWithEmailAndPasswordSynchronous("a@b.c", "secret"); });
        EXPECT_EQ(signIn.Problem, c.Problem) << c.What << ": " << signIn.Message;
        EXPECT_FALSE(auth.Authenticated()) << c.What;

        if (c.Problem) {
            EXPECT_EQ(peer.ConnectionsAccepted(), 2u) << c.What << ": one handshake per call, nothing more";
        }
    }
}

} // namespace
