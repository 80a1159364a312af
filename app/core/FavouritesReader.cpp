#include "app/core/FavouritesReader.h"

#include "app/core/NodeTextCursor.h"
#include "app/core/StationTable.h"

#include <Cumulo/JsonText.h>

namespace Tunewell {

void ReadFavourites(const Cumulo::TJSONValue &Node, TStationTable &Table) {
    ReadFavouritesText(Cumulo::NodeText(Node), Table);
}

void ReadFavouritesText(std::string_view NodeText, TStationTable &Table) {
    const std::string inner = InnerText(std::string(NodeText), false);
    TNodeTextCursor s(inner);
    while (!s.Empty()) {
        const std::size_t before = s.Consumed();
        s.Take("\"", 1);
        const std::string_view serie = s.Take("\"", 1);
        s.Take("\"", 1);
        const std::string_view mark = s.Take("\"", 1);
        if (Table.Locate("serie", serie) && !mark.empty()) {
            Table.Edit();
            Table.SetField(fpSerie, serie);
            Table.SetField(fpFavoritos, mark);
            Table.Post();
        }
        Table.First();
        if (s.Consumed() == before) {
            break;
        }
    }
}

} // namespace Tunewell
