// Stations of one's own through the main window, with the real cloud client against a local
// cloud: added, seen by another computer, starred, played at the next start, edited, removed,
// and shown from the kept catalogue when the cloud is gone.
#include "FormRadioFixture.h"
#include "LocalCloud.h"
#include "app/core/StationTable.h"
#include "app/playlists/PlaylistError.h"
#include "app/playlists/PlaylistReader.h"
#include "app/ui/StationTableModel.h"
#include "shared/core/WindowCloudCumuloClients.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace Tunewell::Testing {
namespace {

using Kind = RecordingDialogs::Kind;
using nlohmann::json;

class FormRadioOwnStationsTest : public FormRadioFixture {
protected:
    void SetUp() override {
        FormRadioFixture::SetUp();
        Cloud.exportEmulatorHosts();
        Cloud.seed("ESTACOES", json::parse(Script->Tree["ESTACOES"].dump()));
        Cloud.seed("VERSOES", json::parse(Script->Tree["VERSOES"].dump()));
        Cloud.seed(Profile(), json::parse(Script->Tree["CADASTRADO"][kProfile].dump()));
        Clients = std::make_shared<WindowCloudCumuloClients>();
    }

    static std::string Profile(const std::string &Below = {}) {
        return std::string("CADASTRADO/") + kProfile + Below;
    }

    // The dialog answers with Station, as if typed and saved.
    void Answer(const TOwnStation &Station) {
        Form->AskOwnStation = [Station](QWidget *, const TOwnStation &Initial) {
            TOwnStation typed = Station;
            typed.Key = Initial.Key;
            typed.Serie = Initial.Serie;
            return std::optional<TOwnStation>(typed);
        };
    }

    // The own stations in the cloud, by serie.
    std::map<std::string, json> InTheCloud() const {
        std::map<std::string, json> stations;
        const json node = Cloud.read(Profile("/PROPRIAS"));
        if (node.is_object())
            for (const auto &[key, record] : node.items())
                stations[record.value("serie", std::string())] = record;
        return stations;
    }

    TunewellTesting::LocalCloud Cloud;
};

TEST_F(FormRadioOwnStationsTest, AddedStarredPlayedEditedAndRemovedAcrossComputers) {
    SetProfile(kProfile);
    auto &form = Start();
    Answer({"", "Minha", "http://127.0.0.1:1/mine", "Jazz", "Casa", 0});
    form.AddOwnStation1->trigger();
    WaitForCloud();
    Answer({"", "Outra", "http://127.0.0.1:1/other", "", "", 0});
    form.AddOwnStation1->trigger();
    WaitForCloud();

    auto stations = InTheCloud();
    ASSERT_EQ(stations.size(), 2u);
    EXPECT_EQ(stations["-1"], json({{"nome", "Minha"},
                                    {"url", "http://127.0.0.1:1/mine"},
                                    {"estilo", "Jazz"},
                                    {"localizacao", "Casa"},
                                    {"serie", "-1"}}));
    EXPECT_EQ(stations["-2"].at("nome"), "Outra");
    ASSERT_GE(RowOfSerie("-2"), 0);
    EXPECT_TRUE(form.cdsRadios.IsOwn(RowOfSerie("-2")));
    // The new station is the one selected.
    EXPECT_EQ(form.cdsRadios.FieldText(fpSerie), "-2");

    // A star and a click on an own station work as on the catalogue's.
    form.cdsRadios.Locate("serie", "-1");
    form.Include1->trigger();
    ClickCell(RowOfSerie("-1"), 1);
    WaitForCloud();
    EXPECT_EQ(Cloud.read(Profile("/FAVORITOS/-1")), "1");
    EXPECT_EQ(Cloud.read(Profile("/LAST")), json({{"Serie", "-1"}}));
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/mine");
    // No catalogue number: the label marks it as the grid does.
    EXPECT_EQ(form.LabelNum->text(), QStringLiteral("\u25C6"));

    // Another computer: the stations are read with the catalogue, starred, and the last one plays.
    form.close();
    WaitForCloud();
    Form.reset();
    auto &other = Start();
    ASSERT_EQ(other.cdsRadios.RowCount(), 5);
    const int mine = RowOfSerie("-1");
    ASSERT_GE(mine, 0);
    EXPECT_TRUE(other.cdsRadios.IsOwn(mine));
    EXPECT_FALSE(other.cdsRadios.IsOwn(RowOfSerie("12")));
    EXPECT_EQ(other.cdsRadios.DisplayText(mine, fpFavoritos), "1");
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/mine");
    EXPECT_EQ(other.LabelNome->text(), "Minha");
    EXPECT_EQ(other.LabelNum->text(), QStringLiteral("\u25C6"));
    EXPECT_EQ(other.DataSource1->index(mine, 0).data(Qt::DisplayRole).toString(), QStringLiteral("\u25C6"));

    // Edited: the record replaced whole, the row changed where it is.
    other.cdsRadios.Locate("serie", "-1");
    Answer({"", "Minha Nova", "https://127.0.0.1:1/new", "Rock", "", 0});
    other.EditOwnStation1->trigger();
    WaitForCloud();
    EXPECT_EQ(InTheCloud()["-1"], json({{"nome", "Minha Nova"},
                                        {"url", "https://127.0.0.1:1/new"},
                                        {"estilo", "Rock"},
                                        {"localizacao", ""},
                                        {"serie", "-1"}}));
    EXPECT_EQ(other.cdsRadios.DisplayText(RowOfSerie("-1"), fpNome), "Minha Nova");
    EXPECT_EQ(other.cdsRadios.DisplayText(RowOfSerie("-1"), fpFavoritos), "1");

    // Removed after asking: its record and its star go, and its row.
    other.cdsRadios.Locate("serie", "-1");
    Dialogs.AnswerYes = true;
    other.RemoveOwnStation1->trigger();
    WaitForCloud();
    EXPECT_EQ(Dialogs.Texts(Kind::Question).back(),
              QStringLiteral("Remove your station \u201CMinha Nova\u201D? / Remover a sua esta\u00E7\u00E3o "
                             "\u201CMinha Nova\u201D?"));
    EXPECT_EQ(InTheCloud().count("-1"), 0u);
    EXPECT_TRUE(Cloud.read(Profile("/FAVORITOS/-1")).is_null());
    EXPECT_EQ(RowOfSerie("-1"), -1);
    EXPECT_EQ(other.cdsRadios.RowCount(), 4);

    // The last station played was the one removed: its serie is not given to the next.
    Answer({"", "Nova", "http://127.0.0.1:1/n", "", "", 0});
    other.AddOwnStation1->trigger();
    WaitForCloud();
    EXPECT_EQ(InTheCloud().count("-3"), 1u);
    EXPECT_EQ(Dialogs.Texts(Kind::Message), std::vector<QString>{});
}

TEST_F(FormRadioOwnStationsTest, CatalogueRowsAreNotEditedAndARefusedWriteIsSaid) {
    SetProfile(kProfile);
    auto &form = Start();
    form.cdsRadios.Locate("serie", "12");
    Answer({"", "X", "http://x/", "", "", 0});
    form.EditOwnStation1->trigger();
    form.RemoveOwnStation1->trigger();
    WaitForCloud();
    ASSERT_EQ(Dialogs.Texts(Kind::Message).size(), 2u);
    EXPECT_TRUE(Dialogs.Texts(Kind::Message)[0].startsWith("Choose one of your own stations"));
    EXPECT_EQ(Dialogs.Entries.size(), 2u) << "no question asked for a catalogue row";

    // A name the cloud's rules refuse (over 150 characters, as only another program could send).
    Answer({"", std::string(151, 'n'), "http://x/", "", "", 0});
    form.AddOwnStation1->trigger();
    WaitForCloud();
    EXPECT_EQ(Dialogs.Texts(Kind::Message).back(), "Algo deu errado!");
    EXPECT_TRUE(InTheCloud().empty());
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
}

TEST_F(FormRadioOwnStationsTest, WithoutAProfileTheCommandsSayWhatTheyNeed) {
    auto &form = Start();
    for (QAction *item : {form.AddOwnStation1, form.EditOwnStation1, form.RemoveOwnStation1}) {
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
        EXPECT_TRUE(item->toolTip().startsWith("To use this feature, you need to register!"));
        EXPECT_FALSE(item->shortcut().isEmpty());
    }
    // Registering elsewhere opens them at the next run.
    SetProfile(kProfile);
    RunAndWaitForStartUp([&] { form.RunStartUpSequence(); });
    EXPECT_TRUE(form.AddOwnStation1->isEnabled());
    EXPECT_FALSE(form.AddOwnStation1->toolTip().startsWith("To use this feature"));
}

TEST_F(FormRadioOwnStationsTest, AnOfflineStartShowsTheKeptOwnStationsWithTheirStars) {
    Cloud.seed(Profile("/PROPRIAS"),
               json{{"-NqOwn1", {{"nome", "Minha"}, {"url", "http://127.0.0.1:1/mine"}, {"serie", "-1"}}},
                    {"-NqOwn2", {{"nome", "Sem endereco"}, {"serie", "-2"}}}});
    Cloud.seed(Profile("/FAVORITOS/-1"), "1");
    Cloud.seed(Profile("/LAST"), json{{"Serie", "-1"}});
    QTemporaryDir folder;
    SetProfile(kProfile);
    Kept = std::make_shared<KeptCatalogue>(folder.filePath(QStringLiteral("catalogue.kept")));
    auto &online = Start();
    WaitForKept(1);
    // The station without an address is left out, and said so in the log.
    EXPECT_EQ(online.cdsRadios.RowCount(), 4);
    EXPECT_TRUE(online.memRTDB->toPlainText().contains("Own stations skipped: 1"));
    Form.reset();
    Cloud.stop();

    auto &offline = Start();
    ASSERT_EQ(offline.cdsRadios.RowCount(), 4);
    const int mine = RowOfSerie("-1");
    ASSERT_GE(mine, 0);
    EXPECT_TRUE(offline.cdsRadios.IsOwn(mine));
    EXPECT_EQ(offline.cdsRadios.DisplayText(mine, fpFavoritos), "1");
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/mine");
    ASSERT_EQ(offline.OwnStations().size(), 1u);

    // Another profile on this computer sees none of them.
    Form.reset();
    SetProfile("-Other");
    auto &stranger = Start();
    EXPECT_EQ(stranger.cdsRadios.RowCount(), 3);
    EXPECT_EQ(RowOfSerie("-1"), -1);
}

void WriteFile(const QString &Path, const std::string &Text) {
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Text.data(), static_cast<qint64>(Text.size()));
}

std::string ReadFile(const QString &Path) {
    QFile file(Path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

TEST_F(FormRadioOwnStationsTest, ImportStarsTheCatalogueAndAddsTheRestAfterItsPreview) {
    QTemporaryDir folder;
    const QString playlist = folder.filePath(QStringLiteral("mine.m3u"));
    // Bravo (not a favourite), Alpha (a favourite already), two stations unknown, one repeated, a
    // local file.
    WriteFile(playlist, "#EXTM3U\n#EXTINF:-1,Bravo\nhttp://127.0.0.1:1/two\n#EXTINF:-1,Alpha\n"
                        "http://127.0.0.1:1/ten\n#EXTINF:-1,Minha\nhttp://127.0.0.1:1/mine\n"
                        "http://radio.example/other\n/home/me/Music/song.mp3\nhttp://127.0.0.1:1/mine\n");
    SetProfile(kProfile);
    auto &form = Start();
    form.AskImportFile = [&](QWidget *) { return playlist; };
    std::vector<TImportPlan> previews;
    bool importIt = false;
    form.AskImportPreview = [&](QWidget *, const TImportPlan &Plan, const TStationTable &) {
        previews.push_back(Plan);
        return importIt;
    };
    const json before = Cloud.read(Profile());

    // The file is read off the UI thread: the preview comes once it is.
    const auto importAndWait = [&](std::size_t Previews) {
        form.Import1->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return previews.size() == Previews; }, 5000));
        WaitForCloud();
    };
    // Cancelled at the preview: nothing written.
    importAndWait(1);
    EXPECT_EQ(previews[0].Star, std::vector<std::int64_t>{15});
    EXPECT_EQ(previews[0].AlreadyFavourite, 1);
    EXPECT_EQ(previews[0].Own.size(), 2u);
    EXPECT_EQ(previews[0].NotStations, 1);
    EXPECT_EQ(Cloud.read(Profile()), before);

    importIt = true;
    importAndWait(2);
    EXPECT_EQ(Cloud.read(Profile("/FAVORITOS/15")), "1");
    auto stations = InTheCloud();
    ASSERT_EQ(stations.size(), 2u);
    EXPECT_EQ(stations["-1"].at("nome"), "Minha");
    EXPECT_EQ(stations["-1"].at("url"), "http://127.0.0.1:1/mine");
    EXPECT_EQ(stations["-2"].at("nome"), "radio.example");
    EXPECT_EQ(form.cdsRadios.RowCount(), 5);
    EXPECT_EQ(form.cdsRadios.DisplayText(RowOfSerie("15"), fpFavoritos), "1");
    EXPECT_TRUE(form.cdsRadios.IsOwn(RowOfSerie("-2")));
    EXPECT_EQ(form.OwnStations().size(), 2u);
    EXPECT_TRUE(Dialogs.Entries.empty());

    // A hostile file is refused with its reason and nothing is written.
    const json imported = Cloud.read(Profile());
    WriteFile(playlist, "#EXTM3U\nhttp://radio.example/a\nhttp:///etc/passwd\n");
    form.Import1->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Dialogs.Texts(Kind::Message).empty(); }, 5000));
    EXPECT_EQ(previews.size(), 2u);
    ASSERT_EQ(Dialogs.Texts(Kind::Message).size(), 1u);
    // The reader's own reason, as it says it.
    try {
        ReadPlaylistFile(playlist.toStdString());
        ADD_FAILURE() << "the file was read";
    } catch (const PlaylistError &refused) {
        EXPECT_EQ(Dialogs.Texts(Kind::Message)[0], QString::fromUtf8(refused.what()));
    }
    EXPECT_EQ(Cloud.read(Profile()), imported);
}

TEST_F(FormRadioOwnStationsTest, ExportWritesTheFavouritesAndOwnStationsAsTheNameSays) {
    Cloud.seed(Profile("/PROPRIAS"),
               json{{"-NqOwn1", {{"nome", "Minha"}, {"url", "http://127.0.0.1:1/mine"}, {"serie", "-1"}}}});
    QTemporaryDir folder;
    SetProfile(kProfile);
    auto &form = Start();
    QString asked;
    form.AskExportFile = [&](QWidget *) { return asked; };
    // Alpha is the profile's one favourite; Charlie's catalogue mark is not the profile's.
    form.cdsRadios.Locate("serie", "20");
    form.Exclude1->trigger();
    WaitForCloud();
    const std::vector<TPlaylistEntry> expected{{"Alpha", "http://127.0.0.1:1/ten"},
                                               {"Minha", "http://127.0.0.1:1/mine"}};

    struct Case {
        const char *Name;
        const char *Written;
        const char *Opens;
    };
    for (const Case &c : {Case{"list.pls", "list.pls", "[playlist]"}, Case{"list.m3u", "list.m3u", "#EXTM3U"},
                          Case{"list", "list.m3u", "#EXTM3U"}}) {
        asked = folder.filePath(QString::fromLatin1(c.Name));
        QFile::remove(folder.filePath(QString::fromLatin1(c.Written)));
        form.Export1->trigger();
        WaitForCloud();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return QFile::exists(folder.filePath(QString::fromLatin1(c.Written))); }, 5000))
            << c.Name;
        const QString written = folder.filePath(QString::fromLatin1(c.Written));
        EXPECT_TRUE(ReadFile(written).starts_with(c.Opens)) << c.Name;
        EXPECT_EQ(ReadPlaylistFile(written.toStdString()).Entries, expected) << c.Name;
    }

    // A folder that cannot be written says so.
    asked = folder.filePath(QStringLiteral("missing/list.m3u"));
    form.Export1->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Dialogs.Texts(Kind::Message).empty(); }, 5000));
    EXPECT_TRUE(Dialogs.Texts(Kind::Message)[0].startsWith("The file could not be written"));
}

TEST_F(FormRadioOwnStationsTest, NothingToExportIsSaid) {
    Cloud.seed(Profile("/FAVORITOS"), json{{"11111", "2"}});
    Cloud.seed("ESTACOES/-Station03ccc/favorito", "2");
    SetProfile(kProfile);
    auto &form = Start();
    bool asked = false;
    form.AskExportFile = [&](QWidget *) {
        asked = true;
        return QString();
    };
    form.Export1->trigger();
    WaitForCloud();
    EXPECT_FALSE(asked);
    EXPECT_EQ(Dialogs.Texts(Kind::Message).size(), 1u);
}

} // namespace
} // namespace Tunewell::Testing
