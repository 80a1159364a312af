#include "TunewellCloud/Certificates.h"

#include "TunewellCloud/Crypto.h"
#include "TunewellCloud/OpenSslHandles.h"

#include <arpa/inet.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

namespace TunewellCloud::Certificates {

namespace {

[[noreturn]] void fail(const std::string &what) {
    const unsigned long code = ERR_get_error();
    char reason[256] = {};
    if (code != 0)
        ERR_error_string_n(code, reason, sizeof reason);
    ERR_clear_error();
    throw CertificateError(what + (code != 0 ? std::string(": ") + reason : std::string()));
}

KeyPtr newKey() {
    KeyPtr key(EVP_EC_gen("P-256"));
    if (!key)
        fail("cannot make a key");
    return key;
}

BioPtr readBuffer(const std::string &text) {
    BioPtr bio(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())));
    if (!bio)
        fail("out of memory");
    return bio;
}

X509Ptr readCertificate(const std::string &pem) {
    X509Ptr certificate(PEM_read_bio_X509(readBuffer(pem).get(), nullptr, nullptr, nullptr));
    if (!certificate)
        fail("not a PEM certificate");
    return certificate;
}

KeyPtr readKey(const std::string &pem) {
    KeyPtr key(PEM_read_bio_PrivateKey(readBuffer(pem).get(), nullptr, nullptr, nullptr));
    if (!key)
        fail("not a PEM private key");
    return key;
}

template <class Write> std::string pemText(Write &&write) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio || !write(bio.get()))
        fail("cannot write PEM text");
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

std::string pemOf(X509 *certificate) {
    return pemText([certificate](BIO *bio) { return PEM_write_bio_X509(bio, certificate) == 1; });
}

std::string pemOf(EVP_PKEY *key) {
    return pemText([key](BIO *bio) {
        return PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    });
}

bool isIpAddress(const std::string &name) {
    unsigned char address[16];
    return inet_pton(AF_INET, name.c_str(), address) == 1 || inet_pton(AF_INET6, name.c_str(), address) == 1;
}

// A certificate of the key for the subject, valid as given, with a random serial number; the
// caller adds the extensions and signs it.
X509Ptr newCertificate(EVP_PKEY *key, const std::string &commonName, Validity validity) {
    X509Ptr certificate(X509_new());
    if (!certificate || X509_set_version(certificate.get(), 2) != 1)
        fail("cannot make a certificate");
    std::string serial = Crypto::randomBytes(16);
    serial[0] = static_cast<char>(serial[0] & 0x7f); // positive
    std::unique_ptr<BIGNUM, OpenSslFree<BN_free>> number(BN_bin2bn(
        reinterpret_cast<const unsigned char *>(serial.data()), static_cast<int>(serial.size()), nullptr));
    if (!number || !BN_to_ASN1_INTEGER(number.get(), X509_get_serialNumber(certificate.get())) ||
        !ASN1_TIME_set(X509_getm_notBefore(certificate.get()), validity.notBefore) ||
        !ASN1_TIME_set(X509_getm_notAfter(certificate.get()), validity.notAfter) ||
        X509_set_pubkey(certificate.get(), key) != 1 ||
        X509_NAME_add_entry_by_txt(X509_get_subject_name(certificate.get()), "CN", MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char *>(commonName.c_str()), -1, -1,
                                   0) != 1)
        fail("cannot make a certificate");
    return certificate;
}

void addExtension(X509 *certificate, X509 *issuer, int nid, const std::string &value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509ExtensionPtr extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
    if (!extension || X509_add_ext(certificate, extension.get(), -1) != 1)
        fail("cannot add the extension " + value);
}

void sign(X509 *certificate, X509 *issuer, EVP_PKEY *issuerKey) {
    if (X509_set_issuer_name(certificate, X509_get_subject_name(issuer)) != 1 ||
        X509_sign(certificate, issuerKey, EVP_sha256()) <= 0)
        fail("cannot sign a certificate");
}

} // namespace

CertifiedKey makeAuthority(const std::string &commonName, Validity validity,
                           const std::vector<std::string> &permittedNames) {
    const KeyPtr key = newKey();
    const X509Ptr certificate = newCertificate(key.get(), commonName, validity);
    addExtension(certificate.get(), certificate.get(), NID_basic_constraints, "critical,CA:TRUE,pathlen:0");
    addExtension(certificate.get(), certificate.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
    if (!permittedNames.empty()) {
        std::string permitted = "critical";
        for (const std::string &name : permittedNames)
            // An IPv4 address is a subtree of one address: all 32 bits of the mask.
            permitted +=
                isIpAddress(name) ? ",permitted;IP:" + name + "/255.255.255.255" : ",permitted;DNS:" + name;
        addExtension(certificate.get(), certificate.get(), NID_name_constraints, permitted);
    }
    addExtension(certificate.get(), certificate.get(), NID_subject_key_identifier, "hash");
    sign(certificate.get(), certificate.get(), key.get());
    return {pemOf(certificate.get()), pemOf(key.get())};
}

CertifiedKey issueServer(const CertifiedKey &authority, const std::vector<std::string> &names,
                         Validity validity) {
    if (names.empty())
        throw CertificateError("a server certificate needs a name");
    const X509Ptr issuer = readCertificate(authority.certificate);
    const KeyPtr issuerKey = readKey(authority.key);
    const KeyPtr key = newKey();
    const X509Ptr certificate = newCertificate(key.get(), names.front(), validity);
    std::string alternatives;
    for (const std::string &name : names)
        alternatives +=
            (alternatives.empty() ? "" : ",") + std::string(isIpAddress(name) ? "IP:" : "DNS:") + name;
    addExtension(certificate.get(), issuer.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(certificate.get(), issuer.get(), NID_key_usage, "critical,digitalSignature");
    addExtension(certificate.get(), issuer.get(), NID_ext_key_usage, "serverAuth");
    addExtension(certificate.get(), issuer.get(), NID_subject_alt_name, alternatives);
    addExtension(certificate.get(), issuer.get(), NID_subject_key_identifier, "hash");
    addExtension(certificate.get(), issuer.get(), NID_authority_key_identifier, "keyid:always");
    sign(certificate.get(), issuer.get(), issuerKey.get());
    return {pemOf(certificate.get()), pemOf(key.get())};
}

void checkPair(const CertifiedKey &pair) {
    const X509Ptr certificate = readCertificate(pair.certificate);
    const KeyPtr key = readKey(pair.key);
    if (X509_check_private_key(certificate.get(), key.get()) != 1)
        fail("the private key is not the certificate's");
}

Validity validityOf(const std::string &certificate) {
    const X509Ptr read = readCertificate(certificate);
    auto seconds = [](const ASN1_TIME *time) {
        std::tm parts{};
        if (ASN1_TIME_to_tm(time, &parts) != 1)
            fail("unreadable validity");
        return timegm(&parts);
    };
    return {seconds(X509_get0_notBefore(read.get())), seconds(X509_get0_notAfter(read.get()))};
}

bool signedBy(const std::string &certificate, const std::string &authority) {
    const X509Ptr read = readCertificate(certificate);
    const X509Ptr issuer = readCertificate(authority);
    const bool issued = X509_check_issued(issuer.get(), read.get()) == X509_V_OK &&
                        X509_verify(read.get(), X509_get0_pubkey(issuer.get())) == 1;
    ERR_clear_error();
    return issued;
}

bool nameConstrained(const std::string &authority) {
    const X509Ptr read = readCertificate(authority);
    const int index = X509_get_ext_by_NID(read.get(), NID_name_constraints, -1);
    return index >= 0 && X509_EXTENSION_get_critical(X509_get_ext(read.get(), index)) == 1;
}

bool names(const std::string &certificate, const std::string &name) {
    const X509Ptr read = readCertificate(certificate);
    if (isIpAddress(name))
        return X509_check_ip_asc(read.get(), name.c_str(), 0) == 1;
    return X509_check_host(read.get(), name.c_str(), name.size(), 0, nullptr) == 1;
}

} // namespace TunewellCloud::Certificates
