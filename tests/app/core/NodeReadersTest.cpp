#include "app/core/CatalogueReader.h"
#include "app/core/FavouritesReader.h"
#include "app/core/LastStationReader.h"
#include "app/core/NodeTextCursor.h"
#include "app/core/StationTable.h"
#include "app/core/VersionReader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Tunewell;
using Cumulo::TJSONValue;

namespace {

std::vector<std::string> Column(const TStationTable &Table, int Field) {
    std::vector<std::string> texts;
    for (int row = 0; row < Table.RowCount(); ++row) {
        texts.push_back(Table.DisplayText(row, Field));
    }
    return texts;
}

TJSONValue Station(const std::string &Num, const std::string &Nome, const std::string &Serie) {
    return TJSONValue{
        {"num", Num},          {"url", "http://s/" + Serie}, {"nome", Nome},    {"estilo", "Pop"},
        {"localizacao", "SP"}, {"qualidade", "128"},         {"favorito", "0"}, {"serie", Serie}};
}

} // namespace

TEST(NodeTextCursor, InnerTextNormalisesLineEndsAndDropsTheBraces) {
    EXPECT_EQ(InnerText("{\"a\":\"b\"}", false), "\"a\":\"b\"");
    EXPECT_EQ(InnerText("{\"a\":\"b\"}", true), "\"a\":\"b\",");
    EXPECT_EQ(InnerText("{\"a\":\"x\ny\rz\r\nw\"}", false), "\"a\":\"x\r\ny\r\nz\r\nw\"");
    EXPECT_EQ(InnerText("{}", true), ",");
    // Blanks around the text shorten what is taken but not where it starts.
    const std::pair<const char *, const char *> cut[] = {
        {"", ""},
        {"x", ""},
        {"ab", ""},
        {"abc", "b"},
        {"  {}  ", ""},
        {" {\"a\":1} ", "{\"a\":"},
        {"\t{\"a\":1}\n", "{\"a\":"},
        {"{\"a\":1}\r\n\r\n", "\"a\":1"},
    };
    for (const auto &[text, inner] : cut) {
        EXPECT_EQ(InnerText(text, false), inner) << text;
    }
}

TEST(NodeTextCursor, FollowsTheVersionTrace) {
    TNodeTextCursor s(R"("Software":"2.3","Url":"h://x:1",)");
    s.HeadCut();
    EXPECT_EQ(s.Rest(), R"(Software":"2.3","Url":"h://x:1",)");
    struct Step {
        const char *Delimiter;
        int Back;
        const char *Piece;
        const char *Rest;
    };
    const Step steps[] = {
        {"\"", 2, "Softwar", R"(:"2.3","Url":"h://x:1",)"},
        {"\"", 1, ":", R"(2.3","Url":"h://x:1",)"},
        {"\"", 1, "2.3", R"(,"Url":"h://x:1",)"},
        {":,\"", 2, "", R"(,"Url":"h://x:1",)"},
        {"\"", 1, ",", R"(Url":"h://x:1",)"},
        {":", 1, "Url\"", R"("h://x:1",)"},
        {"\"", 1, "", R"(h://x:1",)"},
        {"\"", 1, "h://x:1", ","},
    };
    for (const auto &step : steps) {
        EXPECT_EQ(s.Take(step.Delimiter, step.Back), step.Piece) << step.Piece;
        EXPECT_EQ(s.Rest(), step.Rest) << step.Piece;
    }
}

TEST(NodeTextCursor, PositionsCountCharactersNotBytes) {
    // Every piece stays whole UTF-8: a character is dropped or kept, never cut.
    TNodeTextCursor s("\xC3\xB1\"S\xC3\xA9rie\xE2\x82\xAC\":\"12\"");
    s.HeadCut();
    EXPECT_EQ(s.Rest(), "\"S\xC3\xA9rie\xE2\x82\xAC\":\"12\"");
    EXPECT_EQ(s.Take("\"", 2), "");
    EXPECT_EQ(s.Take("\"", 2), "S\xC3\xA9rie");
    EXPECT_EQ(s.Take("\"", 1), ":");
    EXPECT_EQ(s.Take("\"", 1), "12");
}

TEST(NodeReaders, CatalogueKeysAreCutAtCharacters) {
    const std::string station = Station("1", "N", "5").dump();
    struct Case {
        const char *Name;
        std::string Text;
        const char *ID;
    };
    const std::vector<Case> cases = {
        {"a character after the record end", "{\"k1\":" + station + ",\xC3\xB1\"k2\":" + station + "}",
         "\"k2"},
        {"a character before the colon", "{\"k1\":" + station + ",\"k\xE2\x82\xAC:" + station + "}", "k"},
        {"a key of such characters",
         "{\"\xC3\xA1\xC3\xA9\xC3\xAD\xC3\xB3\xC3\xBA\xC3\xA7\xC3\xA3\":" + station + "}",
         "\xC3\xA1\xC3\xA9\xC3\xAD\xC3\xB3\xC3\xBA\xC3\xA7"},
    };
    for (const auto &c : cases) {
        TStationTable table;
        ReadCatalogueText(c.Text, table);
        ASSERT_GE(table.RowCount(), 1) << c.Name;
        EXPECT_EQ(table.DisplayText(table.RowCount() - 1, fpID), c.ID) << c.Name;
    }
}

TEST(NodeReaders, Version) {
    struct Case {
        TJSONValue Node;
        const char *Version;
        const char *Url;
    };
    const Case cases[] = {
        {{{"Software", "2.3"}, {"Url", "http://host:8080/get"}}, "2.3", "http://host:8080/get"},
        {{{"Software", ""}, {"Url", "u"}}, "", "u"},
        {TJSONValue::object(), "", ""},
        // Another shape yields other pieces.
        {{{"Software", 2.3}, {"Url", "u"}}, "Url", ""},
    };
    for (const auto &c : cases) {
        const auto published = ReadVersion(c.Node);
        EXPECT_EQ(published.Version, c.Version) << c.Node.dump();
        EXPECT_EQ(published.Url, c.Url) << c.Node.dump();
    }
}

TEST(NodeReaders, LastSerie) {
    EXPECT_EQ(ReadLastSerie({{"Serie", "12"}}), "12");
    EXPECT_EQ(ReadLastSerie({{"Serie", 12}}), "");
    EXPECT_EQ(ReadLastSerie(TJSONValue::object()), "");
}

TEST(NodeReaders, CatalogueAddsStationsInNodeOrder) {
    TStationTable table;
    table.Append();
    table.SetField(fpNome, "already there");
    table.Post();
    ReadCatalogue({{"-NkeyAAA1", Station("3", "Três", "30")},
                   {"-NkeyBBB2", Station("1", "Um", "10")},
                   {"-NkeyCCC3", Station("2", "Dois", "20")}},
                  table);
    EXPECT_EQ(Column(table, fpID), (std::vector<std::string>{"", "-NkeyA", "-NkeyB", "-NkeyC"}));
    EXPECT_EQ(Column(table, fpNome), (std::vector<std::string>{"already there", "Três", "Um", "Dois"}));
    EXPECT_EQ(Column(table, fpSerie), (std::vector<std::string>{"", "30", "10", "20"}));
    EXPECT_EQ(table.DisplayText(1, fpUrl), "http://s/30");
    EXPECT_EQ(table.DisplayText(1, fpFavoritos), "0");
    EXPECT_EQ(table.DisplayText(1, fpLocal), "SP");
    EXPECT_EQ(table.CurrentRow(), 0);
}

TEST(NodeReaders, CatalogueEdgeCases) {
    auto named = [](const std::string &Nome) { return Station("1", Nome, "5"); };
    auto without = [](const char *Member) {
        auto station = Station("1", "N", "5");
        station.erase(Member);
        return station;
    };
    struct Case {
        const char *Name;
        TJSONValue Node;
        std::vector<std::string> Nomes; // one per row
        std::vector<std::string> Series;
    };
    const std::vector<Case> cases = {
        {"empty num skips only that station",
         {{"a", Station("", "Skipped", "1")}, {"b", Station("2", "Kept", "2")}},
         {"Kept"},
         {"2"}},
        {"quote in a name", {{"a", named("Say \"hi\"")}}, {"Say \\hi\\"}, {"5"}},
        {"backslash in a value", {{"a", named("D:\\music")}, {"b", named("ok")}}, {"ok"}, {"5"}},
        {"line break in a value", {{"a", named("two\nlines")}}, {}, {}},
        {"long name", {{"a", named(std::string(160, 'n'))}}, {std::string(150, 'n')}, {"5"}},
        {"missing member keeps what came before", {{"a", without("url")}}, {""}, {""}},
        {"rejected num keeps only the key", {{"a", Station("x", "N", "5")}}, {""}, {""}},
        {"numeric num", {{"a", TJSONValue{{"num", 7}, {"nome", "N"}}}}, {""}, {""}},
        {"string member", {{"a", "x"}, {"b", named("after")}}, {"after"}, {"5"}},
        {"number member", {{"a", 5}}, {}, {}},
        {"array member", {{"a", TJSONValue::array({1, 2})}}, {}, {}},
        {"no stations", TJSONValue::object(), {}, {}},
    };
    for (const auto &c : cases) {
        TStationTable table;
        ReadCatalogue(c.Node, table);
        EXPECT_EQ(Column(table, fpNome), c.Nomes) << c.Name;
        EXPECT_EQ(Column(table, fpSerie), c.Series) << c.Name;
        EXPECT_EQ(table.State(), TStationTable::TState::Browse) << c.Name;
    }
}

TEST(NodeReaders, CatalogueRowsCutShortKeepTheirFirstFields) {
    auto station = Station("4", "N", "5");
    station.erase("url");
    TStationTable table;
    ReadCatalogue({{"key1234", station}}, table);
    ASSERT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.DisplayText(0, fpID), "key123");
    EXPECT_EQ(table.DisplayText(0, fpNum), "4");
    EXPECT_EQ(table.DisplayText(0, fpEstilo), "Pop");
    EXPECT_EQ(table.DisplayText(0, fpFavoritos), "");
}

TEST(NodeReaders, Favourites) {
    struct Case {
        const char *Name;
        TJSONValue Node;
        std::vector<std::string> Marks; // rows with series 12, 15, 11111
        int Current = 0;
    };
    const Case cases[] = {
        {"two marks", {{"12", "1"}, {"15", "1"}}, {"1", "1", ""}},
        {"placeholder only", {{"11111", "2"}}, {"", "", "2"}},
        {"unknown serie", {{"99", "1"}}, {"", "", ""}},
        {"empty mark", {{"12", ""}}, {"", "", ""}},
        {"numeric value shifts the pieces", {{"12", 1}, {"15", "1"}}, {"15", "", ""}},
        {"numeric value alone", {{"12", 1}}, {"", "", ""}},
        {"nested object", {{"12", {{"a", "1"}}}}, {"a", "", ""}},
        {"empty node runs no pass", TJSONValue::object(), {"", "", ""}, 2},
    };
    for (const auto &c : cases) {
        TStationTable table;
        for (const char *serie : {"12", "15", "11111"}) {
            table.Append();
            table.SetField(fpSerie, serie);
            table.Post();
        }
        ReadFavourites(c.Node, table);
        EXPECT_EQ(Column(table, fpFavoritos), c.Marks) << c.Name;
        EXPECT_EQ(table.CurrentRow(), c.Current) << c.Name;
    }
}
