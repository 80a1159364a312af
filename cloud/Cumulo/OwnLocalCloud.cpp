#include "Cumulo/OwnLocalCloud.h"

#include "Cumulo/Endpoints.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/TrustedAuthorities.h"
#include "Cumulo/UrlParts.h"
#include "Tunewell/BuildValues.h"
#include "Tunewell/LocalCloudFolder.h"

#include <stdexcept>

namespace Cumulo {

namespace {

bool SameServer(const std::string &URL, const char *Address) {
    return SplitURL(URL).Origin() == SplitURL(Address).Origin();
}

} // namespace

std::optional<std::filesystem::path> OwnLocalCloudSocket(const std::string &URL,
                                                         const std::filesystem::path &Folder) {
    namespace Values = Tunewell::BuildValues;
    if (!Values::kLocalCloud)
        return std::nullopt;
    if (SameServer(URL, Values::kDatabaseUrl))
        return Folder / Tunewell::kLocalCloudDatabaseSocket;
    if (SameServer(URL, Values::kIdentityUrl) || SameServer(URL, Values::kTokenUrl))
        return Folder / Tunewell::kLocalCloudIdentitySocket;
    return std::nullopt;
}

std::optional<std::filesystem::path> OwnLocalCloudSocket(const std::string &URL) {
    if (!AddressesOwnLocalCloud())
        return std::nullopt;
    try {
        return OwnLocalCloudSocket(URL, Tunewell::LocalCloudFolder());
    } catch (const std::runtime_error &) {
        return std::nullopt;
    }
}

bool ApplyCloudRoute(CURL *Handle, const std::string &URL) {
    const auto socket = OwnLocalCloudSocket(URL);
    if (!socket) {
        TTrustedAuthorities::Shared().ApplyTo(Handle);
        return false;
    }
    if (const std::string problem = Tunewell::LocalCloudFolderProblem(socket->parent_path());
        !problem.empty())
        throw ETransport("The local cloud's socket is not used: " + problem);
    curl_easy_setopt(Handle, CURLOPT_UNIX_SOCKET_PATH, socket->c_str());
    TTrustedAuthorities::OwnLocalCloud().ApplyTo(Handle);
    return true;
}

} // namespace Cumulo
