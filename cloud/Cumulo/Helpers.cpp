#include "Cumulo/Helpers.h"

#include "Cumulo/Exceptions.h"
#include "Cumulo/HttpClient.h"
#include "Cumulo/Log.h"
#include "Cumulo/MainThread.h"
#include "Cumulo/UrlEncoding.h"
#include "Cumulo/WorkerThreads.h"

#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

namespace Cumulo {

namespace {

// The application-terminating flag: the only process-wide state of this class.
std::atomic<bool> gAppTerminated{false};

constexpr std::string_view kAutoIDAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kAutoIDLength = 20;
constexpr std::size_t kAutoIDBits = 6;

// Bit Index of the GUID, counted from the most significant bit of its first byte.
unsigned GuidBit(const TGUID &Guid, std::size_t Index) {
    return (Guid.Bytes[Index / 8] >> (7 - Index % 8)) & 1u;
}

void SetGuidBit(TGUID &Guid, std::size_t Index, unsigned Bit) {
    if (Bit)
        Guid.Bytes[Index / 8] = static_cast<std::uint8_t>(Guid.Bytes[Index / 8] | (0x80u >> (Index % 8)));
}

} // namespace

std::string TFirebaseHelpers::EncodeResourceParams(const TStringDynArray &ResourceParams) {
    std::string path;
    for (const auto &segment : ResourceParams)
        path += "/" + URLEncode(segment);
    return path;
}

std::string TFirebaseHelpers::EncodeQueryParams(const TQueryParams *QueryParams) {
    if (!QueryParams || QueryParams->empty())
        return {};
    std::string query = "?";
    for (const auto &[key, value] : *QueryParams) {
        if (query != "?")
            query += "&";
        query += URLEncode(key) + "=" + URLEncode(value);
    }
    return query;
}

std::string TFirebaseHelpers::EncodeQueryParamsWithToken(const TQueryParams *QueryParams,
                                                         const std::string &EncodedToken) {
    std::string query = "?auth=" + EncodedToken;
    if (QueryParams)
        for (const auto &[key, value] : *QueryParams)
            query += "&" + URLEncode(key) + "=" + URLEncode(value);
    return query;
}

std::string TFirebaseHelpers::EncodeToken(const std::string &Token) {
    return Token.empty() ? std::string() : "?auth=" + URLEncode(Token);
}

std::string TFirebaseHelpers::ArrStrToCommaStr(const TStringDynArray &Arr) {
    std::string text;
    for (std::size_t i = 0; i < Arr.size(); ++i)
        text += (i ? "," : "") + Arr[i];
    return text;
}

std::string TFirebaseHelpers::ArrStrToQuotedCommaStr(const TStringDynArray &Arr) {
    std::string text;
    for (std::size_t i = 0; i < Arr.size(); ++i) {
        if (i)
            text += ',';
        text += '"';
        for (char c : Arr[i]) {
            if (c == '"')
                text += '"';
            text += c;
        }
        text += '"';
    }
    return text;
}

TStringDynArray TFirebaseHelpers::AddParamToResParams(const TStringDynArray &ResourceParams,
                                                      const std::string &Param) {
    TStringDynArray result = ResourceParams;
    result.push_back(Param);
    return result;
}

void TFirebaseHelpers::Log(const std::string &msg) {
    WriteLog(msg);
}

bool TFirebaseHelpers::AppIsTerminated() {
    return gAppTerminated.load();
}

void TFirebaseHelpers::SetAppTerminated(bool Terminated) {
    gAppTerminated.store(Terminated);
}

void TFirebaseHelpers::SleepAndMessageLoop(std::uint32_t SleepInMs) {
    ProcessMainThreadQueue();
    std::this_thread::sleep_for(std::chrono::milliseconds(SleepInMs));
}

void TFirebaseHelpers::SimpleDownload(const std::string &DownloadUrl, std::shared_ptr<std::ostream> Stream,
                                      TOnSimpleDownloadSuccess OnSuccess, TOnSimpleDownloadError OnError) {
    StartWorkerThread([DownloadUrl, Stream, OnSuccess, OnError] {
        const auto report = [&DownloadUrl](std::function<void()> Procedure) {
            PostToMainThreadOrLog(std::move(Procedure), "Download report of " + DownloadUrl);
        };
        try {
            THttpClient client;
            std::ostringstream received;
            const auto response = client.Get(DownloadUrl, &received);
            if (response->StatusCode == 200) {
                if (Stream) {
                    const std::string bytes = received.str();
                    Stream->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                }
                if (OnSuccess)
                    report([OnSuccess, DownloadUrl] { OnSuccess(DownloadUrl); });
            } else {
                WriteLog(received.str());
                if (OnError)
                    report(
                        [OnError, DownloadUrl, text = response->StatusText] { OnError(DownloadUrl, text); });
            }
        } catch (const std::exception &e) {
            if (OnError)
                report([OnError, DownloadUrl, msg = std::string(e.what())] { OnError(DownloadUrl, msg); });
            else
                WriteLog("Firebase failure in " + DownloadUrl + ": " + e.what());
        }
    });
}

std::string TFirebaseHelpers::CreateAutoID() {
    return ConvertGUIDtoID(TGUID::NewGuid());
}

std::string TFirebaseHelpers::ConvertGUIDtoID(const TGUID &Guid) {
    std::string id;
    for (std::size_t i = 0; i < kAutoIDLength; ++i) {
        unsigned group = 0;
        for (std::size_t b = 0; b < kAutoIDBits; ++b)
            group = (group << 1) | GuidBit(Guid, i * kAutoIDBits + b);
        id += kAutoIDAlphabet[group % kAutoIDAlphabet.size()];
    }
    return id;
}

TGUID TFirebaseHelpers::ConvertIDtoGUID(const std::string &FBID) {
    if (FBID.size() != kAutoIDLength)
        throw EConvertError("An ID of " + std::to_string(kAutoIDLength) + " characters expected: " + FBID);
    TGUID guid;
    for (std::size_t i = 0; i < kAutoIDLength; ++i) {
        const auto position = kAutoIDAlphabet.find(FBID[i]);
        if (position == std::string_view::npos)
            throw EConvertError("Character outside the ID alphabet in: " + FBID);
        for (std::size_t b = 0; b < kAutoIDBits; ++b)
            SetGuidBit(guid, i * kAutoIDBits + b, (position >> (kAutoIDBits - 1 - b)) & 1u);
    }
    return guid;
}

} // namespace Cumulo
