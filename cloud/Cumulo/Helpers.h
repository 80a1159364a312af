#pragma once

// TFirebaseHelpers: stateless operations shared by the whole cloud client.

#include "Cumulo/Guid.h"
#include "Cumulo/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace Cumulo {

using TOnSimpleDownloadSuccess = std::function<void(const std::string &DownloadURL)>;
using TOnSimpleDownloadError = std::function<void(const std::string &DownloadURL, const std::string &ErrMsg)>;

class TFirebaseHelpers {
public:
    TFirebaseHelpers() = delete;

    // URL texts. Every text is URL-encoded by URLEncode (UrlEncoding.h).
    // "/seg1/seg2..." or empty text for the root.
    static std::string EncodeResourceParams(const TStringDynArray &ResourceParams);
    // Empty text or "?k=v&k=v"; nullptr stands for an absent dictionary.
    static std::string EncodeQueryParams(const TQueryParams *QueryParams);
    // "?auth=" + EncodedToken (not encoded again), then "&k=v" for each pair.
    static std::string EncodeQueryParamsWithToken(const TQueryParams *QueryParams,
                                                  const std::string &EncodedToken);
    // Empty text, or "?auth=" + the URL-encoded token.
    static std::string EncodeToken(const std::string &Token);

    static std::string ArrStrToCommaStr(const TStringDynArray &Arr);
    static TStringDynArray AddParamToResParams(const TStringDynArray &ResourceParams,
                                               const std::string &Param);

    // Hands the line to the log sink (Log.h).
    static void Log(const std::string &msg);
    // True once the application has been told to terminate.
    static bool AppIsTerminated();
    // Sets the process-wide flag that AppIsTerminated reads; the program's shutdown sets it.
    static void SetAppTerminated(bool Terminated);
    // Runs what waits for the main thread once, then sleeps. Main thread only.
    static void SleepAndMessageLoop(std::uint32_t SleepInMs);

    // Time stamps are milliseconds since 1970-01-01 00:00 UTC; the milliseconds are dropped.
    static TDateTime ConvertTimeStampToLocalDateTime(std::int64_t Timestamp);
    static TDateTime ConvertTimeStampToUTCDateTime(std::int64_t TimeStamp);
    static TDateTime ConvertToLocalDateTime(TDateTime DateTimeStampUTC);

    // A local date-time as "yyyy-mm-ddThh:mm:ssZ" in UTC.
    static std::string CodeRFC3339DateTime(TDateTime DateTimeStamp);
    // An Internet date-time such as "Sun, 06 Nov 1994 08:49:37 GMT"; raises EConvertError
    // for text of another shape.
    static TDateTime ConvertRFC5322ToUTCDateTime(const std::string &DateTime);
    static TDateTime ConvertRFC5322ToLocalDateTime(const std::string &DateTime);

    static std::string ArrStrToQuotedCommaStr(const TStringDynArray &Arr);

    // GETs the URL into Stream on a background thread and reports on the main thread. The
    // stream must outlive the download.
    static void SimpleDownload(const std::string &DownloadUrl, std::shared_ptr<std::ostream> Stream,
                               TOnSimpleDownloadSuccess OnSuccess, TOnSimpleDownloadError OnError);

    // 20 characters over A-Z, a-z, 0-9, six bits of a fresh random GUID each.
    static std::string CreateAutoID();
    // The reverse of the ID forming: each character's alphabet position back into its six bits.
    static TGUID ConvertIDtoGUID(const std::string &FBID);
    // The ID that CreateAutoID forms from the given GUID.
    static std::string ConvertGUIDtoID(const TGUID &Guid);

    static bool IsEMailAdress(const std::string &EMail);
};

} // namespace Cumulo
