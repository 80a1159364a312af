#include "Cumulo/TrustedAuthorities.h"

#include "Cumulo/CurlGlobal.h"
#include "Cumulo/Endpoints.h"
#include "Cumulo/Exceptions.h"
#include "Tunewell/BuildValues.h"
#include "Tunewell/LocalCloudFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace Cumulo {

namespace {

// libcurl's own default, where the system keeps its store.
std::string SystemBundlePath() {
    EnsureCurlInitialised();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
    char *path = nullptr;
    if (handle)
        curl_easy_getinfo(handle.get(), CURLINFO_CAINFO, &path);
    return path ? path : "";
}

// The program's own local cloud makes its authority at its first start, perhaps after the
// program started: it is looked for at each use.
std::string OwnLocalCloudAuthority() {
    if (!AddressesOwnLocalCloud())
        return "";
    try {
        const auto authority = Tunewell::LocalCloudFolder() / "ca.pem";
        return ::access(authority.c_str(), R_OK) == 0 ? authority.string() : "";
    } catch (const std::runtime_error &) {
        return "";
    }
}

std::vector<std::string> BuildAndRunTimeFiles() {
    const char *variable = std::getenv("TUNEWELL_CA_FILE");
    return {Tunewell::BuildValues::kCaFile, variable ? variable : ""};
}

std::vector<std::string> WithOwnLocalCloudAuthority() {
    std::vector<std::string> files = BuildAndRunTimeFiles();
    files.push_back(OwnLocalCloudAuthority());
    return files;
}

std::string ReadWhole(const std::string &Path) {
    std::ifstream file(Path, std::ios::binary);
    if (!file)
        throw ETransport("The certificate authority file " + Path + " (TUNEWELL_CA_FILE) cannot be read");
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

// Never destroyed: a detached worker may still set up a transfer while the process exits.
union TNeverDestroyedAuthorities {
    TTrustedAuthorities Authorities;
    explicit TNeverDestroyedAuthorities(std::vector<std::string> (*AddedFiles)())
        : Authorities(SystemBundlePath(), AddedFiles) {}
    ~TNeverDestroyedAuthorities() {}
};

TTrustedAuthorities &TTrustedAuthorities::Shared() {
    static TNeverDestroyedAuthorities shared(BuildAndRunTimeFiles);
    return shared.Authorities;
}

TTrustedAuthorities &TTrustedAuthorities::OwnLocalCloud() {
    static TNeverDestroyedAuthorities own(WithOwnLocalCloudAuthority);
    return own.Authorities;
}

TTrustedAuthorities::TTrustedAuthorities(std::string SystemBundle,
                                         std::function<std::vector<std::string>()> AddedFiles)
    : fSystemBundle(std::move(SystemBundle)), fAddedFiles(std::move(AddedFiles)) {}

TTrustedAuthorities::TFileStamp TTrustedAuthorities::StampOf(const std::string &Path) {
    struct stat status {};
    if (::stat(Path.c_str(), &status) != 0)
        return {Path, 0, -1};
    return {Path, status.st_mtime, static_cast<long long>(status.st_size)};
}

std::shared_ptr<const std::string> TTrustedAuthorities::CombinedBundle() {
    std::vector<TFileStamp> stamps;
    for (const std::string &path : fAddedFiles())
        if (!path.empty())
            stamps.push_back(StampOf(path));
    if (stamps.empty())
        return nullptr;
    std::lock_guard lock(fMutex);
    if (fBundle && stamps == fStamps)
        return fBundle;
    // A system without a store still trusts the added authorities.
    std::string bundle;
    if (std::ifstream system{fSystemBundle, std::ios::binary})
        bundle.assign(std::istreambuf_iterator<char>(system), std::istreambuf_iterator<char>());
    for (const TFileStamp &stamp : stamps) {
        const std::string added = ReadWhole(stamp.Path);
        if (added.find("-----BEGIN CERTIFICATE-----") == std::string::npos)
            throw ETransport("The certificate authority file " + stamp.Path +
                             " (TUNEWELL_CA_FILE) holds no PEM certificate");
        bundle += "\n" + added;
    }
    fStamps = std::move(stamps);
    fBundle = std::make_shared<const std::string>(std::move(bundle));
    return fBundle;
}

void TTrustedAuthorities::ApplyTo(CURL *Handle) {
    curl_easy_setopt(Handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(Handle, CURLOPT_SSL_VERIFYHOST, 2L);
    const auto bundle = CombinedBundle();
    if (!bundle)
        return;
    // Instead of the default bundle file, which it replaces; libcurl keeps a copy.
    curl_blob blob{const_cast<char *>(bundle->data()), bundle->size(), CURL_BLOB_COPY};
    curl_easy_setopt(Handle, CURLOPT_CAINFO_BLOB, &blob);
}

} // namespace Cumulo
