#include "Cumulo/CurlMulti.h"

#include "Cumulo/Exceptions.h"

#include <curl/curl.h>

namespace Cumulo {

void TCurlMultiDeleter::operator()(void *Multi) const {
    curl_multi_cleanup(static_cast<CURLM *>(Multi));
}

TCurlMulti NewCurlMulti() {
    TCurlMulti multi(curl_multi_init());
    if (!multi)
        throw ETransport("Cannot create an HTTP transfer");
    return multi;
}

} // namespace Cumulo
