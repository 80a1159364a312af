#include "app/ui/OwnStationWrites.h"

#include "app/core/OwnStationsError.h"
#include "app/core/OwnStationsReader.h"

namespace Tunewell {

Cumulo::TStringDynArray OwnStationsPath(const std::string &ProfileID, const std::string &Below) {
    return WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/PROPRIAS" +
                                  (Below.empty() ? "" : "/" + Below));
}

std::int64_t NextOwnSerieInTheCloud(WindowCloud &Cloud, const std::string &ProfileID,
                                    std::vector<TOwnStation> Known) {
    if (const auto node = Cloud.Get(OwnStationsPath(ProfileID))) {
        try {
            const std::vector<TOwnStation> held = ReadOwnStations(*node).Stations;
            Known.insert(Known.end(), held.begin(), held.end());
        } catch (const EOwnStationsError &) {
        }
    }
    return NextOwnSerie(Known);
}

std::optional<std::string> PostOwnStation(WindowCloud &Cloud, const std::string &ProfileID,
                                          const TOwnStation &Station) {
    const WriteOutcome written = Cloud.Post(OwnStationsPath(ProfileID), OwnStationRecord(Station));
    if (!written.Succeeded || !written.Answer || !written.Answer->is_object())
        return std::nullopt;
    const auto name = written.Answer->find("name");
    if (name == written.Answer->end() || !name->is_string())
        return std::nullopt;
    return name->get<std::string>();
}

} // namespace Tunewell
