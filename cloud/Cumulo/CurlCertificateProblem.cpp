#include "Cumulo/CurlCertificateProblem.h"

#include <memory>
#include <openssl/x509_vfy.h>

namespace Cumulo {

namespace {

// The host and port of the address the transfer last asked for, by libcurl's own reading of it.
std::string PeerOf(CURL *Handle) {
    char *effective = nullptr;
    curl_easy_getinfo(Handle, CURLINFO_EFFECTIVE_URL, &effective);
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), curl_url_cleanup);
    if (!effective || !url || curl_url_set(url.get(), CURLUPART_URL, effective, 0) != CURLUE_OK)
        return effective ? effective : "";
    std::string peer;
    for (const CURLUPart part : {CURLUPART_HOST, CURLUPART_PORT}) {
        char *text = nullptr;
        if (curl_url_get(url.get(), part, &text, 0) == CURLUE_OK && text)
            peer += (peer.empty() ? "" : ":") + std::string(text);
        curl_free(text);
    }
    return peer;
}

} // namespace

std::optional<TCertificateProblem> CertificateProblemOf(CURL *Handle, CURLcode Result) {
    if (Result != CURLE_PEER_FAILED_VERIFICATION)
        return std::nullopt;
    // libcurl on OpenSSL reports OpenSSL's verification result. It checks the host name itself,
    // before it reads that result, and a certificate for another host leaves it "unspecified".
    long verification = X509_V_OK;
    curl_easy_getinfo(Handle, CURLINFO_SSL_VERIFYRESULT, &verification);
    switch (verification) {
    case X509_V_OK:
    case X509_V_ERR_UNSPECIFIED:
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return TCertificateProblem::WrongHost;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        return TCertificateProblem::UnknownAuthority;
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return TCertificateProblem::Expired;
    default:
        return TCertificateProblem::Refused;
    }
}

std::optional<ECertificate> CertificateFailureOf(CURL *Handle, CURLcode Result, const std::string &Message) {
    const auto problem = CertificateProblemOf(Handle, Result);
    if (!problem)
        return std::nullopt;
    return ECertificate(*problem, PeerOf(Handle), Message);
}

} // namespace Cumulo
