#include "app/core/FavouritesReader.h"
#include "app/core/OwnStationInput.h"
#include "app/core/OwnStationsError.h"
#include "app/core/OwnStationsReader.h"
#include "app/core/StationTable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Tunewell;
using Cumulo::TJSONValue;

namespace {

std::vector<std::string> Keys(const TOwnStationsRead &Read) {
    std::vector<std::string> keys;
    for (const auto &station : Read.Stations)
        keys.push_back(station.Key);
    return keys;
}

TEST(OwnStationsReader, KeepsGoodStationsAndCountsTheOthers) {
    struct Case {
        const char *What;
        const char *Node;
        std::vector<std::string> Keys;
        int Skipped;
    };
    const std::vector<Case> cases{
        {"missing node", "null", {}, 0},
        {"empty", "{}", {}, 0},
        {"whole, and without the optional texts",
         R"({"-A":{"nome":"A","url":"http://a","estilo":"Jazz","localizacao":"Rio","serie":"-1"},
             "-B":{"nome":"B","url":"https://b/s","serie":"-2"}})",
         {"-A", "-B"},
         0},
        {"a record that is text", R"({"-A":"x","-B":{"nome":"B","url":"http://b","serie":"-2"}})", {"-B"}, 1},
        {"no name", R"({"-A":{"url":"http://a","serie":"-1"}})", {}, 1},
        {"a name that is a number", R"({"-A":{"nome":1,"url":"http://a","serie":"-1"}})", {}, 1},
        {"no address", R"({"-A":{"nome":"A","serie":"-1"}})", {}, 1},
        {"an empty address", R"({"-A":{"nome":"A","url":"","serie":"-1"}})", {}, 1},
        {"a style that is a list", R"({"-A":{"nome":"A","url":"http://a","estilo":[],"serie":"-1"}})", {}, 1},
        {"no serie", R"({"-A":{"nome":"A","url":"http://a"}})", {}, 1},
        {"a serie that is a number", R"({"-A":{"nome":"A","url":"http://a","serie":-1}})", {}, 1},
        {"a serie of the catalogue's kind",
         R"({"-A":{"nome":"A","url":"http://a","serie":"12"},"-B":{"nome":"B","url":"http://b","serie":"0"}})",
         {},
         2},
        {"a serie that is not a whole number",
         R"({"-A":{"nome":"A","url":"http://a","serie":"-1x"}})",
         {},
         1},
        {"a serie held twice: the first keeps it",
         R"({"-A":{"nome":"A","url":"http://a","serie":"-3"},"-B":{"nome":"B","url":"http://b","serie":"-3"}})",
         {"-A"},
         1},
    };
    for (const auto &c : cases) {
        const TOwnStationsRead read = ReadOwnStations(TJSONValue::parse(c.Node));
        EXPECT_EQ(Keys(read), c.Keys) << c.What;
        EXPECT_EQ(read.Skipped, c.Skipped) << c.What;
    }
    const auto whole = ReadOwnStations(TJSONValue::parse(cases[2].Node)).Stations;
    EXPECT_EQ(whole[0], (TOwnStation{"-A", "A", "http://a", "Jazz", "Rio", -1}));
    EXPECT_EQ(whole[1], (TOwnStation{"-B", "B", "https://b/s", "", "", -2}));
}

TEST(OwnStationsReader, ANodeThatIsNoRecordIsAnError) {
    for (const char *node : {R"("x")", "1", "[]", R"([{"nome":"A"}])", "true"})
        EXPECT_THROW(ReadOwnStations(TJSONValue::parse(node)), EOwnStationsError) << node;
}

TEST(OwnStation, RecordKeepsTheMemberOrderAndTheSerieAsText) {
    const TOwnStation station{"-K", "Minha \"R\u00E1dio\"", "http://a/s", "Jazz", "Rio", -12};
    EXPECT_EQ(OwnStationRecord(station).dump(),
              R"({"nome":"Minha \"R)"
              "\u00E1"
              R"(dio\"","url":"http://a/s","estilo":"Jazz","localizacao":"Rio","serie":"-12"})");
}

TEST(OwnStation, NextSerieIsBelowEveryOne) {
    EXPECT_EQ(NextOwnSerie({}), -1);
    std::vector<TOwnStation> stations(3);
    stations[0].Serie = -2;
    stations[1].Serie = -7;
    stations[2].Serie = -1;
    EXPECT_EQ(NextOwnSerie(stations), -8);
}

// Own rows sit in the table as catalogue rows do: found by serie, starred by the favourites node.
TEST(OwnStation, RowsTakeStarsAndAreMarkedOwn) {
    TStationTable table;
    table.Append();
    table.SetField("serie", "12");
    table.SetField("nome", "Catalogue");
    table.Post();
    table.AppendRows(OwnStationRows({{"-NqOwnKey01", "Minha", "http://a", "Jazz", "Rio", -1},
                                     {"-NqOwnKey02", "Outra", "http://b", "", "", -2}}));
    ReadFavourites(TJSONValue::parse(R"({"12":"1","-2":"1"})"), table);

    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_FALSE(table.IsOwn(0));
    EXPECT_TRUE(table.IsOwn(1));
    EXPECT_EQ(table.DisplayText(1, fpFavoritos), "2");
    EXPECT_EQ(table.DisplayText(2, fpFavoritos), "1");
    EXPECT_EQ(table.DisplayText(2, fpUrl), "http://b");
    EXPECT_EQ(table.DisplayText(2, fpNum), "");
    ASSERT_TRUE(table.Locate("serie", "-1"));
    EXPECT_EQ(table.FieldText(fpNome), "Minha");
}

TEST(StationTableDelete, DropsTheCurrentRowAndKeepsAPlace) {
    TStationTable table;
    for (const char *serie : {"1", "2", "3"}) {
        table.Append();
        table.SetField("serie", serie);
        table.Post();
    }
    table.SetCurrentRow(1);
    table.Delete();
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.FieldText(fpSerie), "3");
    table.Delete();
    EXPECT_EQ(table.FieldText(fpSerie), "1");
    table.Delete();
    EXPECT_EQ(table.CurrentRow(), -1);
    EXPECT_THROW(table.Delete(), std::exception);
}

TEST(OwnStationInput, TrimsCutsAndSaysWhatIsWrong) {
    struct Case {
        const char *What;
        std::string Nome;
        std::string Url;
        bool Good;
    };
    const std::vector<Case> cases{
        {"good", " Minha ", " http://radio.example:8000/live ", true},
        {"https, upper-case scheme", "M", "HTTPS://radio.example/", true},
        {"an IPv6 host", "M", "http://[::1]:8000/s", true},
        {"blank name", " \t", "http://radio.example/", false},
        {"no scheme", "M", "radio.example/live", false},
        {"a file", "M", "file:///home/a.mp3", false},
        {"another scheme", "M", "ftp://radio.example/a", false},
        {"no host", "M", "http:///live", false},
        {"a blank inside", "M", "http://radio example/", false},
        {"empty", "M", "", false},
    };
    for (const auto &c : cases) {
        const TOwnStation station = OwnStationFromInput(c.Nome, c.Url, "", "");
        EXPECT_EQ(OwnStationInputProblem(station).empty(), c.Good) << c.What;
    }
    // Cut in characters, never inside one: 28 ASCII letters and then "ãã..." of two bytes each.
    std::string style(28, 'e');
    for (int i = 0; i < 10; ++i)
        style += "\u00E3";
    const TOwnStation cut =
        OwnStationFromInput(std::string(160, 'n'), "http://a/" + std::string(300, 'u'), style, "  Rio ");
    EXPECT_EQ(cut.Nome.size(), 150u);
    EXPECT_EQ(cut.Estilo, std::string(28, 'e') + "\u00E3\u00E3");
    EXPECT_EQ(cut.Url.size(), 200u);
    EXPECT_EQ(cut.Localizacao, "Rio");
}

} // namespace
