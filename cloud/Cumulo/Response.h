#pragma once

#include "Cumulo/HttpResponse.h"
#include "Cumulo/Interfaces.h"

#include <memory>

namespace Cumulo {

// TFirebaseResponse: one answer of a service and the questions asked of it. Nothing is cached:
// every operation parses the body anew.
class TFirebaseResponse : public IFirebaseResponse {
public:
    // Without an answer every operation that needs one raises "No initialized response class".
    TFirebaseResponse() = default;
    explicit TFirebaseResponse(std::shared_ptr<const THttpResponse> Answer);

    std::string ContentAsString() override;
    TOptionalJSON GetContentAsJSONObj() override;
    TOptionalJSON GetContentAsJSONArr() override;
    TOptionalJSON GetContentAsJSONVal() override;
    void CheckForJSONObj() override;
    bool IsJSONObj() override;
    void CheckForJSONArr() override;
    bool StatusOk() override;
    bool StatusIsUnauthorized() override;
    bool StatusNotFound() override;
    int StatusCode() override;
    std::string StatusText() override;
    std::string ErrorMsg() override;
    std::string ErrorMsgOrStatusText() override;
    TDateTime GetServerTime(TTimeZone TimeZone) override;
    // The body itself, for a reader that must not copy a large answer.
    const std::string &Content() const;

private:
    const THttpResponse &Answer() const;

    std::shared_ptr<const THttpResponse> fHttpResp;
};

} // namespace Cumulo
