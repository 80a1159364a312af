#include "app/core/OwnStationInput.h"

#include "shared/core/CutToCharacters.h"

#include <Cumulo/AsciiCase.h>
#include <Cumulo/UrlParts.h>

namespace Tunewell {

namespace {
std::string Trimmed(const std::string &Text, int Characters) {
    const auto first = Text.find_first_not_of(" \t\r\n\f\v");
    if (first == std::string::npos)
        return {};
    const auto last = Text.find_last_not_of(" \t\r\n\f\v");
    return std::string(CutToCharacters(std::string_view(Text).substr(first, last - first + 1), Characters));
}
} // namespace

TOwnStation OwnStationFromInput(const std::string &Nome, const std::string &Url, const std::string &Estilo,
                                const std::string &Localizacao) {
    TOwnStation station;
    station.Nome = Trimmed(Nome, 150);
    station.Url = Trimmed(Url, 200);
    station.Estilo = Trimmed(Estilo, 30);
    station.Localizacao = Trimmed(Localizacao, 30);
    return station;
}

namespace {
bool IsStreamAddress(const std::string &Url) {
    const Cumulo::TURLParts parts = Cumulo::SplitURL(Url);
    const std::string scheme = Cumulo::LowerAscii(parts.Scheme);
    if (scheme != "http" && scheme != "https")
        return false;
    // Blanks or control characters anywhere make no address a server would take.
    for (const unsigned char c : Url)
        if (c <= 0x20 || c == 0x7F)
            return false;
    return !parts.Host.empty() && parts.Host != "[]";
}
} // namespace

std::string StreamAddressProblem(const std::string &Url) {
    if (IsStreamAddress(Url))
        return {};
    return "The address must start with http:// or https:// and name a host / O endere\u00E7o deve "
           "come\u00E7ar com http:// ou https:// e indicar um servidor";
}

std::string OwnStationInputProblem(const TOwnStation &Station) {
    if (Station.Nome.empty())
        return "The station needs a name / A esta\u00E7\u00E3o precisa de um nome";
    return StreamAddressProblem(Station.Url);
}

} // namespace Tunewell
