#pragma once

#include <memory>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

namespace TunewellCloud {

// OpenSSL's objects, each freed by its own function.
template <auto Free> struct OpenSslFree {
    template <class T> void operator()(T *object) const { Free(object); }
};
using BioPtr = std::unique_ptr<BIO, OpenSslFree<BIO_free_all>>;
using KeyPtr = std::unique_ptr<EVP_PKEY, OpenSslFree<EVP_PKEY_free>>;
using X509Ptr = std::unique_ptr<X509, OpenSslFree<X509_free>>;
using X509ExtensionPtr = std::unique_ptr<X509_EXTENSION, OpenSslFree<X509_EXTENSION_free>>;

} // namespace TunewellCloud
