#include "app/core/StationFilter.h"

#include "app/core/SearchFolding.h"
#include "app/core/StationTable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Tunewell;

TEST(SearchFolding, IgnoresCaseAndAccents) {
    const std::pair<std::string, std::string> cases[] = {
        {"Rádio Ação", "radio acao"},
        {"SÃO PAULO", "sao paulo"},
        {"Ñandú Ümlaut Œuvre Łódź", "nandu umlaut œuvre łodz"},
        {"Ελλάδα", "ελλαδα"},
        {"a\xC3", "a\xC3"},
        {"\xE2\x82", "\xE2\x82"},
        {"", ""},
    };
    for (const auto &[text, folded] : cases) {
        std::string out;
        AppendFoldedForSearch(out, text);
        EXPECT_EQ(out, folded) << text;
    }
}

TEST(StationFilter, EveryWordInNameStyleOrLocationInAnyOrder) {
    TStationTable table;
    auto add = [&](const char *Nome, const char *Estilo, const char *Local, const char *Favorito) {
        table.Append();
        table.SetField(fpNome, Nome);
        table.SetField(fpEstilo, Estilo);
        table.SetField(fpLocal, Local);
        table.SetField(fpFavoritos, Favorito);
        table.Post();
    };
    add("Rádio Cultura", "Clássica", "São Paulo", "1");
    add("Jovem Pan", "Notícias", "Sao Paulo", "2");
    add("Gaúcha", "Esportes", "Porto Alegre", "1");
    add("Rock Radio", "", "", "");
    struct Case {
        const char *Text;
        bool Favourites;
        std::vector<int> Rows;
    } cases[] = {
        {"", false, {0, 1, 2, 3}},
        {"   ", false, {0, 1, 2, 3}},
        {"radio", false, {0, 3}},
        {"RÁDIO", false, {0, 3}},
        {"sao paulo", false, {0, 1}},
        {"paulo SÃO", false, {0, 1}},
        {"classica sao", false, {0}},
        {"paul", false, {0, 1}},
        {"pan esportes", false, {}},
        // A word does not reach from one field into the next.
        {"clássica são", false, {0}},
        {"culturaclassica", false, {}},
        {"", true, {0, 2}},
        {"sao", true, {0}},
        {"xyz", true, {}},
    };
    for (const auto &c : cases) {
        TStationFilter filter;
        filter.SetText(c.Text);
        filter.SetOnlyFavourites(c.Favourites);
        std::vector<int> rows;
        for (int row = 0; row < table.RowCount(); ++row)
            if (filter.Accepts(table, row))
                rows.push_back(row);
        EXPECT_EQ(rows, c.Rows) << "'" << c.Text << "'" << (c.Favourites ? " favourites" : "");
    }
}
