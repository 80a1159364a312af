#include "ServiceAccount.h"

#include "Tunewell/BuildValues.h"

namespace TunewellTesting {

std::shared_ptr<Cumulo::TFirebaseAuthentication>
SignedInServiceAccount(const Cumulo::TAuthenticationEndpoints &Endpoints,
                       std::shared_ptr<const Cumulo::IClock> Clock) {
    auto auth = std::make_shared<Cumulo::TFirebaseAuthentication>(Tunewell::BuildValues::kApiKey, Endpoints,
                                                                  std::move(Clock));
    auth->SignInWithEmailAndPasswordSynchronous(Tunewell::BuildValues::kServiceEmail,
                                                Tunewell::BuildValues::kServicePassword);
    return auth;
}

} // namespace TunewellTesting
