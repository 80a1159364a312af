#include "app/playlists/ImportPlan.h"

#include "PlaylistEntryPrinting.h"
#include "app/core/StationTable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Tunewell;

namespace {

TStationTable Catalogue() {
    TStationTable table;
    const struct {
        const char *Url;
        const char *Serie;
        const char *Favourite;
    } rows[] = {
        {"http://a.example/rock", "101", "2"},  {"http://a.example/jazz", "102", "1"},
        {" http://a.example/news ", "103", ""}, {"http://a.example/twice", "104", "2"},
        {"http://a.example/twice", "105", "1"}, {"http://a.example/own", "-3", ""},
        {"http://a.example/no-serie", "", ""},
    };
    for (const auto &row : rows) {
        table.Append();
        table.SetField(fpUrl, row.Url);
        table.SetField(fpSerie, row.Serie);
        table.SetField(fpFavoritos, row.Favourite);
        table.Post();
    }
    return table;
}

} // namespace

TEST(ImportPlan, StarsKnownStationsCountsFavouritesAndKeepsTheRestAsOwn) {
    const TStationTable table = Catalogue();
    const std::vector<TPlaylistEntry> entries{
        {"Rock", "http://a.example/rock"},         // in the catalogue: a star
        {"Jazz", "http://a.example/jazz"},         // a favourite already
        {"News", "http://a.example/news"},         // the catalogue's blanks do not matter
        {"Rock again", "http://a.example/rock"},   // repeated in the file: once
        {"Twice", "http://a.example/twice"},       // one of its two rows is a favourite
        {"Mine", "http://a.example/own"},          // one's own station already: a star too
        {"Rock?", "http://a.example/rock/"},       // a trailing slash is another address
        {"ROCK", "http://A.EXAMPLE/rock"},         // so is another case
        {"", "http://new.example:8000/s"},         // no name: the server's
        {"Trimmed", " http://new.example/t "},     // the file's blanks do not matter
        {"No serie", "http://a.example/no-serie"}, // a row without a serie cannot be starred
        {"Trimmed again", "http://new.example/t"}, // the same address once trimmed: once
    };
    const TImportPlan plan = PlanImport(entries, table);
    EXPECT_EQ(plan.Star, (std::vector<std::int64_t>{101, 103, -3}));
    EXPECT_EQ(plan.AlreadyFavourite, 2);
    EXPECT_EQ(plan.Own, (std::vector<TPlaylistEntry>{{"Rock?", "http://a.example/rock/"},
                                                     {"ROCK", "http://A.EXAMPLE/rock"},
                                                     {"new.example", "http://new.example:8000/s"},
                                                     {"Trimmed", "http://new.example/t"},
                                                     {"No serie", "http://a.example/no-serie"}}));
}
