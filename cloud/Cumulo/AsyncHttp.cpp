#include "Cumulo/AsyncHttp.h"

#include "Cumulo/HttpClient.h"
#include "Cumulo/MainThread.h"

#include <exception>
#include <sstream>

namespace Cumulo {

void ExecuteAsync(THttpRequest Request, TOnHttpComplete OnComplete, TOnHttpError OnError) {
    StartWorkerThread([Request = std::move(Request), OnComplete = std::move(OnComplete),
                       OnError = std::move(OnError)]() mutable {
        try {
            THttpClient client;
            for (const auto &[name, value] : Request.Headers)
                client.SetCustomHeader(name, value);
            std::istringstream body(Request.Body.value_or(std::string()));
            auto response = client.Execute(Request.Method, Request.URL, Request.Body ? &body : nullptr);
            const std::string logLine =
                "Answer " + std::to_string(response->StatusCode) + " to " + Request.URL;
            PostToMainThreadOrLog(
                [OnComplete = std::move(OnComplete), response = std::move(response)] {
                    if (OnComplete)
                        OnComplete(response);
                },
                logLine);
        } catch (const std::exception &e) {
            PostToMainThreadOrLog(
                [OnError = std::move(OnError), message = std::string(e.what())] {
                    if (OnError)
                        OnError(message);
                },
                "No answer to " + Request.URL + ": " + e.what());
        }
    });
}

} // namespace Cumulo
