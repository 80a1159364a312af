#include "Cumulo/Endpoints.h"

#include "Cumulo/UrlParts.h"
#include "Tunewell/BuildValues.h"

#include <cstdlib>

namespace Cumulo {

namespace {

bool IsLoopback(const std::string &Host) {
    return Host == "localhost" || Host == "[::1]" || Host.starts_with("127.");
}

std::string EnvironmentValue(const char *Name) {
    const char *value = std::getenv(Name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string DatabaseURLForEmulator(const std::string &URL, const std::string &HostPort) {
    return "http://" + HostPort + SplitURL(URL).Rest;
}

std::string AuthURLForEmulator(const std::string &URL, const std::string &HostPort) {
    const TURLParts parts = SplitURL(URL);
    if (IsLoopback(parts.Host))
        return "http://" + HostPort + parts.Rest;
    return "http://" + HostPort + "/" + parts.HostPort() + parts.Rest;
}

bool AddressesOwnLocalCloud() {
    return Tunewell::BuildValues::kLocalCloud &&
           EnvironmentValue("FIREBASE_DATABASE_EMULATOR_HOST").empty() &&
           EnvironmentValue("FIREBASE_AUTH_EMULATOR_HOST").empty();
}

std::string DatabaseBaseURL() {
    const std::string host = EnvironmentValue("FIREBASE_DATABASE_EMULATOR_HOST");
    const std::string url = Tunewell::BuildValues::kDatabaseUrl;
    return host.empty() ? url : DatabaseURLForEmulator(url, host);
}

std::string IdentityBaseURL() {
    const std::string host = EnvironmentValue("FIREBASE_AUTH_EMULATOR_HOST");
    const std::string url = Tunewell::BuildValues::kIdentityUrl;
    return host.empty() ? url : AuthURLForEmulator(url, host);
}

std::string TokenBaseURL() {
    const std::string host = EnvironmentValue("FIREBASE_AUTH_EMULATOR_HOST");
    const std::string url = Tunewell::BuildValues::kTokenUrl;
    return host.empty() ? url : AuthURLForEmulator(url, host);
}

} // namespace Cumulo
