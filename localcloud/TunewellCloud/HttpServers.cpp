#include "TunewellCloud/HttpServers.h"

#include "TunewellCloud/DurableFiles.h"
#include "TunewellCloud/FolderCertificates.h"
#include "TunewellCloud/OpenSslHandles.h"
#include "TunewellCloud/PeerUser.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <vector>

namespace TunewellCloud::HttpServers {

namespace {

std::string readFile(const std::filesystem::path &file) {
    auto text = DurableFiles::read(file);
    if (!text)
        throw CertificateError("cannot read " + file.string());
    return std::move(*text);
}

BioPtr pemBuffer(const std::string &text) {
    return BioPtr(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())));
}

// The certificate and the intermediate ones after it.
std::vector<X509Ptr> readChain(const std::string &pem) {
    std::vector<X509Ptr> chain;
    const BioPtr bio = pemBuffer(pem);
    while (X509 *certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr))
        chain.emplace_back(certificate);
    // Reading stops at the end of the text with an error of its own.
    ERR_clear_error();
    if (chain.empty())
        throw CertificateError("no PEM certificate");
    return chain;
}

// Only HTTP/1.1 is spoken here; a client that offers h2 as well is told so.
int selectHttp11(SSL *, const unsigned char **selected, unsigned char *selectedLength,
                 const unsigned char *offered, unsigned int offeredLength, void *) {
    static const unsigned char http11[] = "\x08http/1.1";
    unsigned char *chosen = nullptr;
    if (SSL_select_next_proto(&chosen, selectedLength, http11, sizeof http11 - 1, offered, offeredLength) !=
        OPENSSL_NPN_NEGOTIATED)
        return SSL_TLSEXT_ERR_NOACK;
    *selected = chosen;
    return SSL_TLSEXT_ERR_OK;
}

} // namespace

std::optional<CertifiedKey> credentials(const TlsOptions &tls, const std::filesystem::path &dataFolder) {
    if (!tls.enabled)
        return std::nullopt;
    if (tls.certificateFile.empty())
        return FolderCertificates::ensure(dataFolder);
    CertifiedKey pair{readFile(tls.certificateFile), readFile(tls.keyFile)};
    try {
        Certificates::checkPair(pair);
    } catch (const CertificateError &error) {
        throw CertificateError(tls.certificateFile.string() + " and " + tls.keyFile.string() + ": " +
                               error.what());
    }
    return pair;
}

std::unique_ptr<httplib::Server> make(const std::optional<CertifiedKey> &credentials) {
    if (!credentials)
        return std::make_unique<httplib::Server>();
    const std::vector<X509Ptr> chain = readChain(credentials->certificate);
    const KeyPtr key(PEM_read_bio_PrivateKey(pemBuffer(credentials->key).get(), nullptr, nullptr, nullptr));
    if (!key)
        throw CertificateError("no PEM private key");
    auto server = std::make_unique<httplib::SSLServer>([&chain, &key](SSL_CTX &context) {
        if (SSL_CTX_set_min_proto_version(&context, TLS1_2_VERSION) != 1 ||
            SSL_CTX_use_certificate(&context, chain.front().get()) != 1 ||
            SSL_CTX_use_PrivateKey(&context, key.get()) != 1)
            return false;
        for (std::size_t i = 1; i < chain.size(); ++i)
            if (SSL_CTX_add1_chain_cert(&context, chain[i].get()) != 1)
                return false;
        SSL_CTX_set_alpn_select_cb(&context, selectHttp11, nullptr);
        PeerUser::requireAllowedPeers(context);
        return true;
    });
    if (!server->is_valid()) {
        ERR_clear_error();
        throw CertificateError("cannot serve HTTPS with this certificate");
    }
    return server;
}

const char *scheme(const TlsOptions &tls) {
    return tls.enabled ? "https" : "http";
}

} // namespace TunewellCloud::HttpServers
