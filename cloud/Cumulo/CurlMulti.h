#pragma once

#include <memory>

namespace Cumulo {

// A libcurl multi handle (libcurl's CURLM is void). Besides running transfers it holds the
// connections they left open, so the next transfer it runs to the same host can use one.
struct TCurlMultiDeleter {
    void operator()(void *Multi) const;
};
using TCurlMulti = std::unique_ptr<void, TCurlMultiDeleter>;

// A new multi handle; raises ETransport when libcurl cannot make one.
TCurlMulti NewCurlMulti();

} // namespace Cumulo
