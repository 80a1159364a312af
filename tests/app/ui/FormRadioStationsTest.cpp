#include "FormRadioFixture.h"
#include "app/core/StationTable.h"
#include "app/ui/PlayerMenu.h"
#include "app/ui/StationFilterBar.h"
#include "app/ui/StationTableModel.h"
#include "app/ui/ThemeManager.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

namespace Tunewell::Testing {
namespace {

using Kind = RecordingDialogs::Kind;

const QString kNeedsProfile = QStringLiteral(
    "To use this feature, you need to register!\rPara usar este recurso, voc\u00EA precisa se registrar!");

class FormRadioStationsTest : public FormRadioFixture {};

TEST_F(FormRadioStationsTest, WindowHasItsControlsCaptionsAndMenu) {
    auto player = std::make_unique<RecordingPlayer>();
    TFormRadio form(WindowEnvironment{Dialogs, std::make_shared<FakeCloudClients>(Script)}, std::move(player),
                    {});
    EXPECT_EQ(form.windowTitle(), "Tunewell 2.2");
    EXPECT_EQ(form.Panel1->size(), QSize(723, 343));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.font().pointSize(), 8);

    struct Placed {
        const char *Name;
        QRect Rect;
    };
    for (const auto &p : {Placed{"Wmp", {2, -1, 245, 240}}, Placed{"DBGrid1", {244, 0, 470, 324}},
                          Placed{"StatusBar1", {1, 323, 721, 19}}, Placed{"memRTDB", {528, 120, 158, 37}},
                          Placed{"EdtPath", {528, 48, 121, 21}}, Placed{"Edit1", {528, 75, 121, 21}}}) {
        auto *control = form.Panel1->findChild<QWidget *>(p.Name);
        ASSERT_TRUE(control) << p.Name;
        EXPECT_EQ(control->geometry(), p.Rect) << p.Name;
    }
    struct Labelled {
        QLabel *Label;
        QString Text;
        QPoint Place;
    };
    for (const auto &l :
         {Labelled{form.Label5, "N\u00BA", {7, 245}}, Labelled{form.Label1, "Radio", {43, 245}},
          Labelled{form.LabelNum, ".", {7, 260}}, Labelled{form.LabelNome, ".", {43, 260}},
          Labelled{form.Label4, "Style", {7, 286}}, Labelled{form.Label2, "Location", {146, 286}},
          Labelled{form.Label3, "Quality", {198, 286}}, Labelled{form.LabelStyle, ".", {7, 302}},
          Labelled{form.LabelLocation, ".", {146, 302}}, Labelled{form.LabelQualidade, ".", {201, 302}}}) {
        EXPECT_EQ(l.Label->text(), l.Text);
        EXPECT_EQ(l.Label->pos(), l.Place) << l.Text.toStdString();
    }
    EXPECT_TRUE(form.memRTDB->isHidden());
    EXPECT_EQ(form.memRTDB->toPlainText(), "memRTDB");
    EXPECT_EQ(form.EdtPath->text(), "RADIOS");
    EXPECT_EQ(form.Edit1->text(), "Edit1");

    QStringList titles;
    for (QAction *item : form.MainMenu1->actions())
        titles << item->text();
    EXPECT_EQ(titles, (QStringList{"Register  ", "Skin  ", "Help  ", "About  ", "Favorite", "Player",
                                   QStringLiteral("Stations / Esta\u00E7\u00F5es")}));
    QStringList skins;
    for (QAction *item : form.Skin1->actions())
        skins << item->text() + (item->isChecked() ? "*" : "");
    EXPECT_EQ(skins, (QStringList{"Amethist", "Amakrits", "Aqua Light", "Auric*", "Cobalt", "Cyan",
                                  "Lavender", "Light", "Sapphire", "Smokey"}));
    EXPECT_EQ(form.Include1->text(), "Include");
    EXPECT_EQ(form.Exclude1->text(), "Exclude");

    QStringList columns;
    for (int column = 0; column < form.DataSource1->columnCount(); ++column)
        columns << form.DataSource1->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(columns, (QStringList{"N\u00BA", "Name", "Style", "Location", "Fav"}));
    EXPECT_EQ(form.DBGrid1->columnWidth(1), 200);
}

TEST_F(FormRadioStationsTest, MouseClickPlaysAndRecordsTheLastStation) {
    SetProfile(kProfile);
    auto &form = Start();
    const int row = RowOfSerie("12");
    ClickCell(row, 4);
    WaitForCloud();
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/ten");
    EXPECT_EQ(Player->Played.last(), "http://127.0.0.1:1/ten");
    EXPECT_EQ(form.Edit1->text(), "http://127.0.0.1:1/ten");
    EXPECT_EQ(form.LabelNum->text(), "10");
    EXPECT_EQ(form.LabelNome->text(), "Alpha");
    EXPECT_EQ(*Node({"CADASTRADO", kProfile, "LAST"}), Cumulo::TJSONValue({{"Serie", "12"}}));
    EXPECT_EQ(form.memRTDB->toPlainText(), "Serie: \"12\"");

    // Moving the selection with the keyboard plays nothing.
    const auto played = Player->Played.size();
    form.DBGrid1->setFocus();
    QTest::keyClick(form.DBGrid1, Qt::Key_Down);
    EXPECT_NE(form.cdsRadios.CurrentRow(), row);
    EXPECT_EQ(Player->Played.size(), played);
}

TEST_F(FormRadioStationsTest, PathsAreTextSplitAtEverySlashOrBackslash) {
    // A profile ID holding a backslash addresses the nested node, as every path is built as text.
    SetProfile("Prof\\Sub");
    Script->Tree["CADASTRADO"]["Prof"]["Sub"] = Script->Tree["CADASTRADO"][kProfile];
    auto &form = Start();
    EXPECT_TRUE(Dialogs.Entries.empty());
    EXPECT_EQ(form.LabelNome->text(), "Bravo");
    ClickCell(RowOfSerie("12"), 0);
    WaitForCloud();
    EXPECT_EQ(*Node({"CADASTRADO", "Prof", "Sub", "LAST"}), Cumulo::TJSONValue({{"Serie", "12"}}));
}

TEST_F(FormRadioStationsTest, ClickWithoutProfileSendsNothing) {
    auto &form = Start();
    const auto calls = Script->Calls.size();
    ClickCell(RowOfSerie("20"), 0);
    WaitForCloud();
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/seven");
    EXPECT_EQ(form.LabelNome->text(), "Charlie");
    EXPECT_EQ(Script->Calls.size(), calls);
}

TEST_F(FormRadioStationsTest, IncludeAndExcludeMarkTableAndCloud) {
    SetProfile(kProfile);
    auto &form = Start();
    struct Step {
        const char *Serie;
        bool Include;
        const char *Mark;
    };
    // Include always marks, also a row already marked; Exclude removes the member, written or not.
    for (const auto &s :
         {Step{"15", true, "1"}, Step{"15", true, "1"}, Step{"20", false, "2"}, Step{"15", false, "2"}}) {
        form.cdsRadios.Locate("serie", s.Serie);
        (s.Include ? form.Include1 : form.Exclude1)->trigger();
        WaitForCloud();
        EXPECT_EQ(form.cdsRadios.FieldText(fpFavoritos), s.Mark) << s.Serie;
        const auto *member = Node({"CADASTRADO", kProfile, "FAVORITOS", s.Serie});
        if (s.Include) {
            ASSERT_TRUE(member) << s.Serie;
            EXPECT_EQ(*member, "1");
        } else {
            EXPECT_FALSE(member) << s.Serie;
        }
    }
    EXPECT_EQ(form.memRTDB->toPlainText(), "Delete CADASTRADO/-Prof1/FAVORITOS/15 passed");
    EXPECT_TRUE(Dialogs.Entries.empty());
}

TEST_F(FormRadioStationsTest, FavouritesWithoutProfileOnlyExplain) {
    auto &form = Start();
    const auto before = form.cdsRadios.Rows();
    const auto calls = Script->Calls.size();
    emit form.Favorite1->aboutToShow();
    form.Include1->trigger();
    WaitForCloud();
    form.Exclude1->trigger();
    WaitForCloud();
    EXPECT_EQ(Dialogs.Texts(Kind::Message), std::vector<QString>(3, kNeedsProfile));
    EXPECT_EQ(form.cdsRadios.Rows(), before);
    EXPECT_EQ(Script->Calls.size(), calls);
}

TEST_F(FormRadioStationsTest, FavouriteSignInFailureShowsMessageAndKeepsTheMark) {
    SetProfile(kProfile);
    auto &form = Start();
    Script->AcceptedPassword = "changed99";
    form.cdsRadios.Locate("serie", "15");
    // A fresh window that never signed in: the sign-in is needed and fails.
    form.Cloud().SignIn();
    form.Include1->trigger();
    WaitForCloud();
    EXPECT_EQ(Dialogs.Texts(Kind::Message), std::vector<QString>{"Algo deu errado!"});
    EXPECT_EQ(form.cdsRadios.FieldText(fpFavoritos), "1");
}

TEST_F(FormRadioStationsTest, TitleClickSortsAscendingAndMarksTheColumn) {
    auto &form = Start();
    struct Case {
        int Column;
        std::vector<std::string> Series;
    };
    // Nº sorts numerically (2, 7, 10); Name alphabetically, twice the same way; Fav "1" first.
    for (const auto &c : {Case{0, {"15", "20", "12"}}, Case{1, {"12", "15", "20"}},
                          Case{1, {"12", "15", "20"}}, Case{4, {"20", "12", "15"}}}) {
        QTest::mouseClick(form.DBGrid1->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(form.DBGrid1->horizontalHeader()->sectionViewportPosition(c.Column) + 5, 5));
        std::vector<std::string> series;
        for (int row = 0; row < form.cdsRadios.RowCount(); ++row)
            series.push_back(form.cdsRadios.DisplayText(row, fpSerie));
        EXPECT_EQ(series, c.Series) << c.Column;
        EXPECT_EQ(form.DataSource1->MarkedColumn(), c.Column);
        EXPECT_EQ(form.DataSource1->headerData(c.Column, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(),
                  QColor(166, 202, 240));
        EXPECT_EQ(
            form.DataSource1->data(form.DataSource1->index(0, c.Column), Qt::ForegroundRole).value<QColor>(),
            QColor(0, 0, 255));
    }
    EXPECT_EQ(form.DataSource1->data(form.DataSource1->index(0, 0), Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::black));
}

TEST_F(FormRadioStationsTest, ThemeChoiceSurvivesAnotherRunWhichTicksAuricAgain) {
    auto &form = Start();
    form.ThemeItem(4)->trigger();
    EXPECT_EQ(ThemeManager::Applied(), "Cobalt Medialux");
    EXPECT_TRUE(form.ThemeItem(4)->isChecked());
    EXPECT_FALSE(form.Auric1->isChecked());

    RunAndWaitForStartUp([&] { form.About1->trigger(); });
    EXPECT_TRUE(form.ThemeItem(4)->isChecked());
    EXPECT_TRUE(form.Auric1->isChecked());
    EXPECT_EQ(ThemeManager::Applied(), "Cobalt Medialux");
}

TEST_F(FormRadioStationsTest, FavColumnShowsTheDashAndAStarOnlyForOne) {
    auto &form = Start();
    struct Case {
        const char *Serie;
        bool Star;
    };
    for (const auto &c : {Case{"20", true}, Case{"12", false}}) {
        QImage cell(40, 18, QImage::Format_ARGB32);
        cell.fill(Qt::white);
        QPainter painter(&cell);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 40, 18);
        option.palette.setColor(QPalette::Base, Qt::white);
        form.DBGrid1DrawColumnCell(&painter, option, form.DataSource1->index(RowOfSerie(c.Serie), 4));
        painter.end();
        // The star covers the middle of the dash in yellow.
        const QColor centre = cell.pixelColor(1 + 7, 1 + 8);
        EXPECT_EQ(centre.red() > 200 && centre.green() > 180 && centre.blue() < 100, c.Star) << c.Serie;
        EXPECT_EQ(cell.pixelColor(1 + 4, 1 + 7) != QColor(Qt::white), true) << c.Serie;
    }
}

TEST(ThemeManagerTest, EveryThemeIsCarriedAndDistinct) {
    QStringList sheets;
    for (const auto &theme : ThemeManager::Themes()) {
        ASSERT_TRUE(ThemeManager::Apply(QString::fromLatin1(theme.ThemeName), nullptr)) << theme.ThemeName;
        sheets << qApp->styleSheet();
    }
    sheets.removeDuplicates();
    EXPECT_EQ(sheets.size(), static_cast<int>(ThemeManager::Themes().size()));
    RecordingDialogs dialogs;
    EXPECT_FALSE(ThemeManager::Apply("Missing Theme", &dialogs));
    EXPECT_EQ(dialogs.Texts(RecordingDialogs::Kind::Error).size(), 1u);
    ThemeManager::Apply(ThemeManager::DefaultTheme(), nullptr);
}

TEST_F(FormRadioStationsTest, PlayerMenuAppearsWithItsFirstItemAndShowsShortcuts) {
    auto player = std::make_unique<RecordingPlayer>();
    TFormRadio form(WindowEnvironment{Dialogs, std::make_shared<FakeCloudClients>(Script)}, std::move(player),
                    {});
    // Player, then the Stations menu of one's own stations.
    const auto menus = form.MainMenu1->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[menus.size() - 2], form.Player1->menuAction());
    EXPECT_EQ(menus.last(), form.Stations1->menuAction());

    PlayerMenu menu(&form);
    EXPECT_FALSE(menu.menuAction()->isVisible());
    PlayerMenu *submenu = menu.AddSubmenu(QStringLiteral("Sub"));
    EXPECT_TRUE(menu.menuAction()->isVisible());
    QAction *item = submenu->AddItem(QStringLiteral("Item"), QKeySequence(Qt::CTRL | Qt::Key_1));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
    EXPECT_TRUE(item->isShortcutVisibleInContextMenu());
}

// The names the grid shows, top to bottom.
QStringList ShownNames(TFormRadio &Form) {
    QStringList names;
    for (int row = 0; row < Form.DBGrid1->model()->rowCount(); ++row)
        names << Form.DBGrid1->model()->index(row, 1).data().toString();
    return names;
}

// The name of the highlighted row; empty when none is.
QString HighlightedName(TFormRadio &Form) {
    const QModelIndex current = Form.DBGrid1->currentIndex();
    if (!current.isValid() || !Form.DBGrid1->selectionModel()->isRowSelected(current.row()))
        return {};
    return Form.DBGrid1->model()->index(current.row(), 1).data().toString();
}

TEST_F(FormRadioStationsTest, FilterNarrowsTheGridAndEverythingStillWorks) {
    SetProfile(kProfile);
    auto &form = Start();
    const int rows = form.cdsRadios.RowCount();
    form.FindStation1->trigger();
    EXPECT_TRUE(form.FilterBar1->Field()->hasFocus());
    QTest::keyClicks(form.FilterBar1->Field(), QStringLiteral("L"));
    EXPECT_EQ(ShownNames(form), QStringList({"Alpha", "Charlie"}));
    EXPECT_EQ(form.cdsRadios.RowCount(), rows) << "the table keeps every row";

    // A title click sorts while filtered; a click on a shown row plays that row.
    form.DBGrid1TitleClick(0);
    EXPECT_EQ(ShownNames(form), QStringList({"Charlie", "Alpha"}));
    ClickCell(RowOfSerie("12"), 1);
    WaitForCloud();
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/ten");
    EXPECT_EQ(HighlightedName(form), "Alpha") << "the playing row is highlighted";
    form.Include1->trigger();
    WaitForCloud();
    EXPECT_EQ(form.cdsRadios.FieldText(fpSerie), "12");
    EXPECT_EQ(form.cdsRadios.FieldText(fpFavoritos), "1");

    // Favourites only, with the words: Alpha and Charlie are both starred now.
    form.OnlyFavourites1->trigger();
    EXPECT_EQ(ShownNames(form), QStringList({"Charlie", "Alpha"}));
    form.FilterBar1->Field()->setText(QStringLiteral("alp"));
    EXPECT_EQ(ShownNames(form), QStringList({"Alpha"}));
    form.Exclude1->trigger();
    WaitForCloud();
    EXPECT_TRUE(ShownNames(form).isEmpty()) << "no longer a favourite";
    EXPECT_EQ(form.cdsRadios.FieldText(fpSerie), "12") << "the hidden row stays the table's current row";
    form.OnlyFavourites1->trigger();

    // A reload keeps the words; the playing row is highlighted again.
    RunAndWaitForStartUp([&] { form.RunStartUpSequence(); });
    EXPECT_EQ(form.FilterBar1->Field()->text(), "alp");
    EXPECT_EQ(ShownNames(form), QStringList({"Alpha"}));
    EXPECT_EQ(HighlightedName(form), "Alpha");

    // Esc clears the field, shows every row in the current sort and hands the focus back.
    form.FilterBar1->Field()->setFocus();
    QTest::keyClick(form.FilterBar1->Field(), Qt::Key_Escape);
    EXPECT_TRUE(form.FilterBar1->Field()->text().isEmpty());
    EXPECT_EQ(ShownNames(form), QStringList({"Bravo", "Charlie", "Alpha"}));
    EXPECT_TRUE(form.DBGrid1->hasFocus());
    EXPECT_EQ(HighlightedName(form), "Alpha");
}

TEST_F(FormRadioStationsTest, TheFindRowsEnterPlaysTheFirstMatchAndDownGoesToTheGrid) {
    SetProfile(kProfile);
    auto &form = Start();
    QLineEdit *field = form.FilterBar1->Field();
    form.FindStation1->trigger();
    QTest::keyClicks(field, QStringLiteral("br"));
    ASSERT_EQ(ShownNames(form), QStringList({"Alpha", "Bravo"}));
    ASSERT_EQ(HighlightedName(form), "Bravo") << "the station playing";

    // Down: into the grid on the first match, which it does not play.
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_TRUE(form.DBGrid1->hasFocus());
    EXPECT_EQ(HighlightedName(form), "Alpha");
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/two");

    // Enter: the first match plays as a click plays it, whichever row is selected, and the focus
    // stays in the field.
    form.cdsRadios.Locate("serie", "15");
    ASSERT_EQ(HighlightedName(form), "Bravo");
    form.FindStation1->trigger();
    QTest::keyClick(field, Qt::Key_Return);
    WaitForCloud();
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/ten");
    EXPECT_EQ(form.LabelNome->text(), "Alpha");
    EXPECT_EQ(Node({"CADASTRADO", kProfile, "LAST", "Serie"})->get<std::string>(), "12");
    EXPECT_EQ(field->text(), "br");
    EXPECT_TRUE(field->hasFocus());

    // No match: neither key does anything but move the focus.
    const auto played = Player->Played.size();
    field->setText(QStringLiteral("zzz"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(field, key);
    EXPECT_EQ(Player->Played.size(), played);
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_TRUE(form.DBGrid1->hasFocus());
    EXPECT_EQ(HighlightedName(form), "");
    EXPECT_EQ(Player->Played.size(), played);
}

TEST_F(FormRadioStationsTest, ShownNeighboursFollowTheFilter) {
    auto &form = Start();
    form.DBGrid1TitleClick(1);
    form.FilterBar1->Field()->setText(QStringLiteral("l"));
    ASSERT_EQ(ShownNames(form), QStringList({"Alpha", "Charlie"}));
    form.cdsRadios.Locate("serie", "12");
    EXPECT_EQ(form.ShownNeighbourRow(1), RowOfSerie("20"));
    EXPECT_EQ(form.ShownNeighbourRow(-1), -1);
    form.cdsRadios.Locate("serie", "15");
    EXPECT_EQ(form.ShownNeighbourRow(1), RowOfSerie("12")) << "from a hidden row: the first shown";
    EXPECT_EQ(form.ShownNeighbourRow(-1), RowOfSerie("20")) << "from a hidden row: the last shown";
}

} // namespace
} // namespace Tunewell::Testing
