#include "app/core/OwnStationsReader.h"

#include "app/core/OwnStationsError.h"

#include <charconv>
#include <optional>
#include <set>

namespace Tunewell {

namespace {
// A member that must be text when present; absent gives empty text, another type nothing.
std::optional<std::string> OptionalText(const Cumulo::TJSONValue &Record, const char *Name) {
    const auto member = Record.find(Name);
    if (member == Record.end())
        return std::string();
    if (!member->is_string())
        return std::nullopt;
    return member->get<std::string>();
}

std::optional<std::int64_t> NegativeSerie(const Cumulo::TJSONValue &Record) {
    const auto member = Record.find("serie");
    if (member == Record.end() || !member->is_string())
        return std::nullopt;
    const std::string &text = member->get_ref<const std::string &>();
    std::int64_t serie = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, serie);
    // Only a negative serie stays clear of the catalogue's.
    if (error != std::errc() || stop != end || serie >= 0)
        return std::nullopt;
    return serie;
}

std::optional<TOwnStation> StationOf(const std::string &Key, const Cumulo::TJSONValue &Record) {
    if (!Record.is_object())
        return std::nullopt;
    const auto nome = Record.find("nome");
    const auto url = Record.find("url");
    if (nome == Record.end() || !nome->is_string() || url == Record.end() || !url->is_string() ||
        url->get_ref<const std::string &>().empty())
        return std::nullopt;
    const auto estilo = OptionalText(Record, "estilo");
    const auto localizacao = OptionalText(Record, "localizacao");
    const auto serie = NegativeSerie(Record);
    if (!estilo || !localizacao || !serie)
        return std::nullopt;
    return TOwnStation{Key, nome->get<std::string>(), url->get<std::string>(), *estilo, *localizacao, *serie};
}
} // namespace

TOwnStationsRead ReadOwnStations(const Cumulo::TJSONValue &Node) {
    TOwnStationsRead read;
    if (Node.is_null())
        return read;
    if (!Node.is_object())
        throw EOwnStationsError("The own stations node is not a record of stations");
    std::set<std::int64_t> series;
    for (const auto &[key, record] : Node.items()) {
        auto station = StationOf(key, record);
        // Two stations of one serie could not be told apart by a favourite or the last station.
        if (!station || !series.insert(station->Serie).second) {
            ++read.Skipped;
            continue;
        }
        read.Stations.push_back(std::move(*station));
    }
    return read;
}

} // namespace Tunewell
