#pragma once

#include <ctime>
#include <curl/curl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Cumulo {

// The certificate authorities HTTPS peers are checked against, in one place for the requests,
// the event streams and the player: the system's store (libcurl's default bundle) and, added to
// it and never instead of it, the CA file named by the build value TUNEWELL_CA_FILE and the one
// the variable TUNEWELL_CA_FILE names at run time. Peer and host are always verified.
class TTrustedAuthorities {
public:
    // The program's, for every peer: the system's bundle and the CA files above.
    static TTrustedAuthorities &Shared();
    // For the program's own local cloud alone (OwnLocalCloud.h), while the program addresses it:
    // the same and that cloud's authority (ca.pem of its data folder), once it exists. Never for
    // a station: the authority is the user's and names loopback only, and is no one else's word.
    static TTrustedAuthorities &OwnLocalCloud();

    // AddedFiles names the CA files to add; it is asked at each use, and empty names are skipped.
    TTrustedAuthorities(std::string SystemBundle, std::function<std::vector<std::string>()> AddedFiles);

    // Verification on, with the authorities, for one transfer. Throws ETransport when an added
    // file cannot be read or holds no certificate.
    void ApplyTo(CURL *Handle);
    // The system's bundle followed by the added files, as PEM text; none when nothing is added,
    // and the system's store serves as it is. Throws as ApplyTo.
    std::shared_ptr<const std::string> CombinedBundle();

private:
    // A file as it was when the bundle was made: a changed file makes it anew.
    struct TFileStamp {
        std::string Path;
        std::time_t Modified = 0;
        long long Size = -1;
        bool operator==(const TFileStamp &) const = default;
    };
    static TFileStamp StampOf(const std::string &Path);

    const std::string fSystemBundle;
    const std::function<std::vector<std::string>()> fAddedFiles;
    std::mutex fMutex;
    std::vector<TFileStamp> fStamps;
    std::shared_ptr<const std::string> fBundle;
};

} // namespace Cumulo
