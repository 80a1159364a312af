#include "app/core/StationTable.h"

#include "app/core/StationTableError.h"
#include "app/core/StationTableObserver.h"
#include "app/core/UpdateSuspension.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Tunewell;

namespace {

// Records what an item model would hear.
class TRecorder : public IStationTableObserver {
public:
    void RowsAboutToBeAppended(int First, int Last) override {
        Events.push_back("about-append " + Range(First, Last));
    }
    void RowsAppended(int First, int Last) override { Events.push_back("append " + Range(First, Last)); }
    void RowChanged(int Row) override { Events.push_back("changed " + std::to_string(Row)); }
    void TableAboutToBeReset() override { Events.push_back("about-reset"); }
    void TableReset() override { Events.push_back("reset"); }
    void CurrentRowChanged(int Row) override { Events.push_back("current " + std::to_string(Row)); }
    std::vector<std::string> Events;

private:
    static std::string Range(int First, int Last) {
        return std::to_string(First) + "-" + std::to_string(Last);
    }
};

void AddNamedStation(TStationTable &Table, const std::string &Num, const std::string &Nome,
                     const std::string &Serie, const std::string &Url = "") {
    Table.Append();
    Table.SetField("num", Num);
    Table.SetField("nome", Nome);
    Table.SetField("serie", Serie);
    Table.SetField("url", Url);
    Table.Post();
}

std::vector<std::string> ColumnNamed(const TStationTable &Table, const char *Field) {
    std::vector<std::string> texts;
    for (int row = 0; row < Table.RowCount(); ++row) {
        texts.push_back(Table.DisplayText(row, TStationTable::FieldIndex(Field)));
    }
    return texts;
}

} // namespace

TEST(StationTable, FieldsKeepTheirPositionsAndNames) {
    const char *names[] = {"num", "nome", "estilo", "local", "favoritos", "qualidade", "url", "serie", "ID"};
    for (int i = 0; i < StationFieldCount; ++i) {
        EXPECT_EQ(TStationTable::Fields()[i].Name, names[i]);
        EXPECT_EQ(TStationTable::FieldIndex(names[i]), i);
    }
    EXPECT_EQ(TStationTable::FieldIndex("favoritos"), 4);
    EXPECT_THROW(TStationTable::FieldIndex("Nome"), EStationTableError);
}

TEST(StationTable, FieldRules) {
    const std::string accented150 = [] {
        std::string text;
        for (int i = 0; i < 151; ++i) {
            text += "á";
        }
        return text;
    }();
    struct Case {
        const char *Field;
        std::string Assigned;
        std::string Shown;
    };
    const Case cases[] = {
        {"num", "7", "7"},
        {"num", "-3", "-3"},
        {"num", "", ""},
        {"serie", "0012", "12"},
        {"ID", "-Nabcdefgh", "-Nabcd"},
        {"nome", std::string(151, 'x'), std::string(150, 'x')},
        {"nome", accented150, accented150.substr(0, 300)},
        {"url", std::string(201, 'u'), std::string(200, 'u')},
        {"favoritos", "1", "1"},
        {"estilo", "", ""},
    };
    for (const auto &c : cases) {
        TStationTable table;
        table.Append();
        table.SetField(c.Field, c.Assigned);
        table.Post();
        EXPECT_EQ(table.FieldText(c.Field), c.Shown) << c.Field << " <- " << c.Assigned;
    }
}

TEST(StationTable, IntegerFieldsRejectTextThatIsNotAWholeNumber) {
    for (const char *text :
         {"7a", "abc", " 7", "7 ", "1.5", "+", "-", "+-5", "++5", "-+5", "--5", "99999999999999999999"}) {
        TStationTable table;
        table.Append();
        EXPECT_THROW(table.SetField("num", text), EStationTableError) << text;
    }
}

TEST(StationTable, LocateFindsTheFirstExactMatchAndOtherwiseKeepsTheRow) {
    TStationTable table;
    AddNamedStation(table, "1", "Alpha", "12", "http://a");
    AddNamedStation(table, "2", "Beta", "15", "http://b");
    AddNamedStation(table, "3", "alpha", "12", "http://c");
    struct Case {
        const char *Field;
        const char *Value;
        bool Found;
        int Row;
    };
    const Case cases[] = {
        {"serie", "12", true, 0},      {"serie", "15", true, 1},   {"url", "http://c", true, 2},
        {"url", "http://z", false, 1}, {"nome", "alpha", true, 2}, {"nome", "ALPHA", false, 1},
        {"nome", "Alph", false, 1},    {"serie", "abc", false, 1}, {"serie", "", false, 1},
        {"estilo", "", false, 1},      {"serie", "012", true, 0},
    };
    for (const auto &c : cases) {
        table.SetCurrentRow(1);
        EXPECT_EQ(table.Locate(c.Field, c.Value), c.Found) << c.Field << "=" << c.Value;
        EXPECT_EQ(table.CurrentRow(), c.Row) << c.Field << "=" << c.Value;
    }
}

TEST(StationTable, LocateOfATextLongerThanTheFieldFindsNothing) {
    TStationTable table;
    AddNamedStation(table, "1", "x", "1", std::string(200, 'u'));
    EXPECT_TRUE(table.Locate("url", std::string(200, 'u')));
    EXPECT_FALSE(table.Locate("url", std::string(201, 'u')));
}

TEST(StationTable, FirstCommitsARowLeftOpen) {
    TStationTable table;
    TRecorder recorder;
    AddNamedStation(table, "1", "Alpha", "1");
    table.AddObserver(&recorder);
    table.Append();
    table.SetField("ID", "key");
    EXPECT_THROW(table.SetField("num", "x"), EStationTableError);
    table.First();
    EXPECT_EQ(table.State(), TStationTable::TState::Browse);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.CurrentRow(), 0);
    EXPECT_EQ(table.DisplayText(1, fpID), "key");
    EXPECT_EQ(recorder.Events, (std::vector<std::string>{"about-append 1-1", "append 1-1", "current 1",
                                                         "changed 1", "current 0"}));
}

TEST(StationTable, EditChangesTheCurrentRow) {
    TStationTable table;
    AddNamedStation(table, "1", "Alpha", "12");
    AddNamedStation(table, "2", "Beta", "15");
    ASSERT_TRUE(table.Locate("serie", "15"));
    table.Edit();
    table.SetField(fpFavoritos, "1");
    table.Post();
    EXPECT_EQ(ColumnNamed(table, "favoritos"), (std::vector<std::string>{"", "1"}));
    EXPECT_THROW(table.SetField(fpFavoritos, "2"), EStationTableError);
}

TEST(StationTable, SortsNumericFieldsNumericallyAndKeepsTheOrderForNewRows) {
    TStationTable table;
    AddNamedStation(table, "10", "b", "1");
    AddNamedStation(table, "2", "a", "2");
    AddNamedStation(table, "", "c", "3");
    table.SetCurrentRow(0);
    table.SortBy("num");
    EXPECT_EQ(ColumnNamed(table, "num"), (std::vector<std::string>{"", "2", "10"}));
    EXPECT_EQ(table.FieldText("num"), "10") << "the current row follows its station";
    table.SortBy("num");
    EXPECT_EQ(ColumnNamed(table, "num"), (std::vector<std::string>{"", "2", "10"})) << "never reversed";

    AddNamedStation(table, "7", "d", "4");
    AddNamedStation(table, "2", "e", "5");
    EXPECT_EQ(ColumnNamed(table, "num"), (std::vector<std::string>{"", "2", "2", "7", "10"}));
    EXPECT_EQ(ColumnNamed(table, "nome"), (std::vector<std::string>{"c", "a", "e", "d", "b"}));
    EXPECT_EQ(table.FieldText("nome"), "e");

    table.SortBy("favoritos");
    ASSERT_TRUE(table.Locate("nome", "d"));
    table.Edit();
    table.SetField("favoritos", "2");
    table.Post();
    ASSERT_TRUE(table.Locate("nome", "b"));
    table.Edit();
    table.SetField("favoritos", "1");
    table.Post();
    EXPECT_EQ(ColumnNamed(table, "favoritos"), (std::vector<std::string>{"", "", "", "1", "2"}));
    EXPECT_EQ(table.FieldText("nome"), "b");
}

TEST(StationTable, NestedSuspensionsReportOneResetWhenTheLastEnds) {
    TStationTable table;
    TRecorder recorder;
    table.AddObserver(&recorder);
    {
        TUpdateSuspension outer(table);
        table.SuspendUpdates();
        AddNamedStation(table, "1", "a", "1");
        table.ResumeUpdates();
        AddNamedStation(table, "2", "b", "2");
        table.First();
        EXPECT_EQ(recorder.Events, (std::vector<std::string>{"about-reset"}));
    }
    EXPECT_EQ(recorder.Events, (std::vector<std::string>{"about-reset", "reset"}));
    EXPECT_FALSE(table.UpdatesSuspended());
    table.ResumeUpdates();
    EXPECT_EQ(recorder.Events.size(), 2u) << "an unmatched resume reports nothing";
}

TEST(StationTable, SuspensionResumesWhenAnErrorLeavesTheScope) {
    TStationTable table;
    try {
        TUpdateSuspension suspension(table);
        table.Append();
        table.SetField("serie", "x");
    } catch (const EStationTableError &) {
    }
    EXPECT_FALSE(table.UpdatesSuspended());
}

TEST(StationTable, ReplaceRowsSwapsTheWholeContent) {
    TStationTable table;
    AddNamedStation(table, "1", "old", "1");
    TStationTable fresh;
    AddNamedStation(fresh, "5", "z", "5");
    AddNamedStation(fresh, "3", "y", "3");
    table.SortBy("num");
    TRecorder recorder;
    table.AddObserver(&recorder);
    table.ReplaceRows(fresh.Rows());
    EXPECT_EQ(ColumnNamed(table, "nome"), (std::vector<std::string>{"y", "z"}));
    EXPECT_EQ(table.CurrentRow(), 0);
    EXPECT_EQ(recorder.Events, (std::vector<std::string>{"about-reset", "reset"}));

    TStationRow wrong;
    EXPECT_THROW(wrong.Set(fpNum, std::string("7")), EStationTableError);
    EXPECT_THROW(wrong.Set(fpNome, std::int64_t{7}), EStationTableError);
    wrong.Set(fpID, std::string("1234567"));
    EXPECT_THROW(table.ReplaceRows({wrong}), EStationTableError) << "longer than the field";
    EXPECT_EQ(table.RowCount(), 2);
}

// Rows added at once land where committing them one by one would put them: after every row
// not greater, so equal rows keep the order they came in, also among the rows already there.
TEST(StationTable, AppendedRowsTakeThePlacesOfRowsCommittedOneByOne) {
    struct Station {
        const char *Num, *Nome, *Serie;
    };
    const std::vector<Station> present{{"5", "Beta", "1"}, {"", "alpha", "2"}, {"5", "beta", "3"}};
    const std::vector<Station> added{
        {"2", "Gamma", "4"}, {"5", "Beta", "5"}, {"", "", "6"}, {"12", "Álvaro", "7"}};
    for (const char *sortField : {"", "num", "nome", "serie"}) {
        TStationTable oneByOne;
        TStationTable atOnce;
        TStationTable fresh;
        for (const auto &station : present) {
            AddNamedStation(oneByOne, station.Num, station.Nome, station.Serie);
            AddNamedStation(atOnce, station.Num, station.Nome, station.Serie);
        }
        for (const auto &station : added) {
            AddNamedStation(fresh, station.Num, station.Nome, station.Serie);
        }
        if (*sortField) {
            oneByOne.SortBy(sortField);
            atOnce.SortBy(sortField);
        }
        // A row left open is committed first.
        for (TStationTable *table : {&oneByOne, &atOnce}) {
            table->Append();
            table->SetField("serie", "8");
        }
        for (const auto &station : added) {
            AddNamedStation(oneByOne, station.Num, station.Nome, station.Serie);
        }
        oneByOne.First();
        auto rows = fresh.ReleaseRows();
        EXPECT_EQ(fresh.RowCount(), 0);
        atOnce.AppendRows(std::move(rows));
        EXPECT_EQ(atOnce.Rows(), oneByOne.Rows()) << "sorted by '" << sortField << "'";
        EXPECT_EQ(atOnce.CurrentRow(), 0);
        EXPECT_EQ(atOnce.State(), TStationTable::TState::Browse);
    }
}

TEST(StationTable, ClosedTableRefusesWork) {
    TStationTable table;
    AddNamedStation(table, "1", "a", "1");
    EXPECT_TRUE(table.IsOpen());
    table.Close();
    EXPECT_FALSE(table.IsOpen());
    EXPECT_THROW(table.SortBy("num"), EStationTableError);
    EXPECT_THROW(table.Append(), EStationTableError);
    table.Open();
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(table.CurrentRow(), -1);
    EXPECT_EQ(table.FieldText("nome"), "");
}
