#pragma once

// Asynchronous HTTP execution: the exchange runs on a worker thread of its own, the completion
// or the error handler then runs on the main thread (PostToMainThread).

#include "Cumulo/HttpResponse.h"
#include "Cumulo/Types.h"
#include "Cumulo/WorkerThreads.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Cumulo {

struct THttpRequest {
    TRESTRequestMethod Method = rmGET;
    std::string URL; // complete and already encoded
    std::vector<std::pair<std::string, std::string>> Headers;
    std::optional<std::string> Body; // sent for POST, PUT and PATCH only
};

using TOnHttpComplete = std::function<void(std::shared_ptr<THttpResponse> Response)>;
using TOnHttpError = std::function<void(const std::string &ErrMsg)>;

// Exactly one of the two handlers runs, on the main thread: OnComplete for any answer (error
// statuses included), OnError when no answer could be had.
void ExecuteAsync(THttpRequest Request, TOnHttpComplete OnComplete, TOnHttpError OnError);

} // namespace Cumulo
