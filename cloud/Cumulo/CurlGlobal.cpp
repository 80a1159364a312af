#include "Cumulo/CurlGlobal.h"

#include <curl/curl.h>
#include <mutex>
#include <openssl/crypto.h>

namespace Cumulo {

void EnsureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Before libcurl initialises OpenSSL: only the first initialisation decides.
        OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
        curl_global_init(CURL_GLOBAL_DEFAULT);
    });
}

} // namespace Cumulo
