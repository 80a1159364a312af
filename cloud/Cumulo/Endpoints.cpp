#include "Cumulo/Endpoints.h"

#include "Tunewell/BuildValues.h"

#include <cstdlib>

namespace Cumulo {

namespace {

struct TURLParts {
    std::string Host; // host[:port] as written
    std::string Path; // from the first "/" after the host on, query included
};

TURLParts SplitURL(const std::string &URL) {
    const auto schemeEnd = URL.find("://");
    const std::size_t hostStart = schemeEnd == std::string::npos ? 0 : schemeEnd + 3;
    const std::size_t pathStart = URL.find('/', hostStart);
    if (pathStart == std::string::npos)
        return {URL.substr(hostStart), {}};
    return {URL.substr(hostStart, pathStart - hostStart), URL.substr(pathStart)};
}

bool IsLoopback(const std::string &HostPort) {
    std::string host = HostPort;
    if (host.starts_with("[")) {
        host = host.substr(1, host.find(']') - 1);
    } else if (const auto colon = host.find(':'); colon != std::string::npos) {
        host = host.substr(0, colon);
    }
    return host == "localhost" || host == "::1" || host.starts_with("127.");
}

std::string EnvironmentValue(const char *Name) {
    const char *value = std::getenv(Name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string DatabaseURLForEmulator(const std::string &URL, const std::string &HostPort) {
    return "http://" + HostPort + SplitURL(URL).Path;
}

std::string AuthURLForEmulator(const std::string &URL, const std::string &HostPort) {
    const TURLParts parts = SplitURL(URL);
    if (IsLoopback(parts.Host))
        return "http://" + HostPort + parts.Path;
    return "http://" + HostPort + "/" + parts.Host + parts.Path;
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
