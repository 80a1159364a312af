#include "app/core/CatalogueReader.h"

#include "app/core/NodeTextCursor.h"
#include "app/core/StationTable.h"
#include "app/core/StationTableError.h"

#include <Cumulo/JsonText.h>
#include <algorithm>

namespace Tunewell {

namespace {

// A member's value as written in the node text, without its double quotes. Throws
// EStationTableError for a missing member, which ends the row there.
std::string BareValue(const Cumulo::TJSONValue &Record, const char *Name) {
    const auto member = Record.find(Name);
    if (member == Record.end()) {
        throw EStationTableError(std::string("Member '") + Name + "' missing");
    }
    std::string text = Cumulo::NodeText(*member);
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

// The members in the order they are assigned; station member, then table field.
const std::pair<const char *, int> Assignments[] = {
    {"num", fpNum},
    {"estilo", fpEstilo},
    {"url", fpUrl},
    {"favorito", fpFavoritos},
    {"localizacao", fpLocal},
    {"nome", fpNome},
    {"qualidade", fpQualidade},
    {"serie", fpSerie},
};

void AppendStation(TStationTable &Table, std::string_view Key, const Cumulo::TJSONValue &Record) {
    Table.Append();
    Table.SetField(fpID, Key);
    for (const auto &[member, field] : Assignments) {
        Table.SetField(field, BareValue(Record, member));
    }
    Table.Post();
}

} // namespace

void ReadCatalogue(const Cumulo::TJSONValue &Node, TStationTable &Table) {
    ReadCatalogueText(Cumulo::NodeText(Node), Table);
}

std::vector<TStationRow> ReadCatalogueRows(std::string NodeText) {
    // Read into a table of its own, unsorted, so no row is ever moved into a sort order one by
    // one; the caller sorts them once.
    TStationTable rows;
    const std::string inner = InnerText(std::move(NodeText), true);
    TNodeTextCursor s(inner);
    TRepeatedFind recordEnd("},");
    TRepeatedFind recordStart(":{");
    TRepeatedFind keyEnd(":");
    while (!s.Empty()) {
        const std::size_t before = s.Consumed();
        const auto e = static_cast<std::ptrdiff_t>(recordEnd.In(s));
        const auto b = static_cast<std::ptrdiff_t>(recordStart.In(s)) + 1;
        const std::string_view key = s.CopyInside(keyEnd.In(s));
        const std::string_view recordText = s.Copy(b, e - b + 1);
        const auto record = Cumulo::TJSONValue::parse(recordText, nullptr, false);
        if (record.is_discarded() || record.is_object()) {
            s.DropBefore(e + 2);
            try {
                if (!record.is_discarded() && record.contains("num") && !BareValue(record, "num").empty()) {
                    AppendStation(rows, key, record);
                }
            } catch (const std::exception &) {
                // A member missing or rejected ends this station; the row keeps what it got.
            }
        }
        rows.First();
        if (s.Consumed() == before) {
            break;
        }
    }
    return rows.ReleaseRows();
}

void ReadCatalogueText(std::string_view NodeText, TStationTable &Table) {
    Table.AppendRows(ReadCatalogueRows(std::string(NodeText)));
}

} // namespace Tunewell
