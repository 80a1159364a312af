// Every operation of a response on arbitrary status codes, headers and bodies.
#include <Cumulo/HttpResponse.h>
#include <Cumulo/Response.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

template <typename Operation> void Try(Operation &&Call) {
    // The response's own errors are runtime errors; anything else escapes and is a finding.
    try {
        Call();
    } catch (const std::runtime_error &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    if (Size < 2) {
        return 0;
    }
    auto answer = std::make_shared<Cumulo::THttpResponse>();
    answer->StatusCode = (Data[0] << 8 | Data[1]) % 700;
    answer->StatusText = Cumulo::StandardReasonPhrase(answer->StatusCode);
    // The body, with a "Date" header taken from its first line.
    answer->Body.assign(reinterpret_cast<const char *>(Data) + 2, Size - 2);
    answer->Headers.emplace_back("Date", answer->Body.substr(0, answer->Body.find('\n')));
    Cumulo::TFirebaseResponse response(answer);
    Try([&] { response.ContentAsString(); });
    Try([&] { response.GetContentAsJSONObj(); });
    Try([&] { response.GetContentAsJSONArr(); });
    Try([&] { response.GetContentAsJSONVal(); });
    Try([&] { response.CheckForJSONObj(); });
    Try([&] { response.IsJSONObj(); });
    Try([&] { response.CheckForJSONArr(); });
    Try([&] { response.StatusOk(); });
    Try([&] { response.StatusIsUnauthorized(); });
    Try([&] { response.StatusNotFound(); });
    Try([&] { response.StatusText(); });
    Try([&] { response.ErrorMsg(); });
    Try([&] { response.ErrorMsgOrStatusText(); });
    Try([&] { response.GetServerTime(Cumulo::tzUTC); });
    Try([&] { response.GetServerTime(Cumulo::tzLocalTime); });
    return 0;
}
