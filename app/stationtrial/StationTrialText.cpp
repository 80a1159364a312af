#include "app/stationtrial/StationTrialText.h"

namespace Tunewell {

namespace {
std::string WhatAnswered(const TStationTrialResult &Result) {
    std::string what = Result.ContentType.empty() ? std::string("?") : Result.ContentType;
    if (!Result.Bitrate.empty())
        what += ", " + Result.Bitrate + " kb/s";
    return what;
}
} // namespace

std::string StationTrialText(const TStationTrialResult &Result, std::chrono::milliseconds Bound) {
    const std::string via = Result.FromPlaylist ? " (" + Result.StreamUrl + ")" : std::string();
    switch (Result.Outcome) {
    case TStationTrialResult::TOutcome::Answers:
        return "Answers: " + WhatAnswered(Result) + via + " / Responde: " + WhatAnswered(Result) + via;
    case TStationTrialResult::TOutcome::NotAudio:
        return "Answers, but not with audio: " + WhatAnswered(Result) + via +
               " / Responde, mas n\u00E3o com \u00E1udio: " + WhatAnswered(Result) + via;
    case TStationTrialResult::TOutcome::Failed:
        return "Does not answer: " + Result.Detail + " / N\u00E3o responde: " + Result.Detail;
    case TStationTrialResult::TOutcome::NoAnswer:
        break;
    }
    const std::string seconds =
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(Bound).count());
    return "No answer within " + seconds + " s" + via + " / Sem resposta em " + seconds + " s" + via;
}

} // namespace Tunewell
