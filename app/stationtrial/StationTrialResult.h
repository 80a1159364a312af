#pragma once

#include <string>

namespace Tunewell {

// What trying a station's address found.
struct TStationTrialResult {
    enum class TOutcome {
        // The stream answered with audio (an audio content type, or a station's ICY headers).
        Answers,
        // It answered, with something else (a web page, say).
        NotAudio,
        // It could not be reached, refused, or answered with an error.
        Failed,
        // Nothing came within the bound.
        NoAnswer,
    };
    TOutcome Outcome = TOutcome::Failed;
    // The stream that answered: the address itself, or the first one its playlist names.
    std::string StreamUrl;
    bool FromPlaylist = false;
    // As the stream answered; the bit rate (kb/s) when the station gives one (icy-br).
    std::string ContentType;
    std::string Bitrate;
    // Why it failed: the client's text, or the HTTP status.
    std::string Detail;
};

} // namespace Tunewell
