#include "app/core/OwnStation.h"

#include "app/core/StationTable.h"

#include <algorithm>

namespace Tunewell {

Cumulo::TJSONValue OwnStationRecord(const TOwnStation &Station) {
    Cumulo::TJSONValue record = Cumulo::TJSONValue::object();
    record["nome"] = Station.Nome;
    record["url"] = Station.Url;
    record["estilo"] = Station.Estilo;
    record["localizacao"] = Station.Localizacao;
    record["serie"] = std::to_string(Station.Serie);
    return record;
}

TStationRow OwnStationRow(const TOwnStation &Station) {
    const auto &fields = TStationTable::Fields();
    TStationRow row;
    const auto set = [&](int Field, const std::string &Text) {
        row.Set(Field, FieldValueFromText(fields[Field], Text));
    };
    set(fpNome, Station.Nome);
    set(fpEstilo, Station.Estilo);
    set(fpLocal, Station.Localizacao);
    set(fpFavoritos, "2");
    set(fpUrl, Station.Url);
    row.Set(fpSerie, Station.Serie);
    set(fpID, Station.Key);
    row.SetOwn(true);
    return row;
}

std::vector<TStationRow> OwnStationRows(const std::vector<TOwnStation> &Stations) {
    std::vector<TStationRow> rows;
    rows.reserve(Stations.size());
    for (const auto &station : Stations)
        rows.push_back(OwnStationRow(station));
    return rows;
}

std::int64_t NextOwnSerie(const std::vector<TOwnStation> &Stations) {
    std::int64_t smallest = 0;
    for (const auto &station : Stations)
        smallest = std::min(smallest, station.Serie);
    return smallest - 1;
}

} // namespace Tunewell
