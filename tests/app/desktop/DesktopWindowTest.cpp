// The desktop's additions on the main window, without a session bus: keys, the Player menu, the
// tray, closing to the tray and the choices kept across runs.
#include "DesktopFixture.h"
#include "Player/Wmp.h"
#include "app/core/StationTable.h"
#include "app/desktop/MainWindowControl.h"
#include "app/desktop/PlayerCommands.h"
#include "app/desktop/PlayerRemote.h"
#include "app/desktop/PlayerTrayIcon.h"
#include "app/ui/PlayerMenu.h"
#include "app/ui/StationFilterBar.h"
#include "app/ui/StationFilterModel.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <functional>

namespace Tunewell::Testing {
namespace {

class DesktopWindowTest : public DesktopFixture {
protected:
    // The records are written by cloud steps after the command: they are read once the steps end.
    std::string LastSerie() {
        WaitForCloud();
        const auto *node = Node({"CADASTRADO", kProfile, "LAST", "Serie"});
        return node ? node->get<std::string>() : std::string();
    }
    std::string Offline() {
        WaitForCloud();
        const auto *node = Node({"CADASTRADO", kProfile, "STATUS", "Status"});
        return node ? node->get<std::string>() : std::string();
    }
};

TEST_F(DesktopWindowTest, WithoutSessionBusTheProgramRunsAsBeforeWithOneLogLine) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    EXPECT_EQ(Warnings.size(), 1) << Warnings.join('\n').toStdString();
    EXPECT_EQ(Desktop->MediaInterface(), nullptr);
    EXPECT_EQ(Desktop->Notices(), nullptr);
    EXPECT_EQ(Desktop->Tray(), nullptr);
    EXPECT_FALSE(Desktop->TitleNoticesItem()->isEnabled());
    EXPECT_FALSE(Desktop->CloseToTrayItem()->isEnabled());
    // The start-up sequence played the last station into the real player.
    EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/two");
    EXPECT_EQ(form.LabelNome->text(), "Bravo");
    EXPECT_EQ(Desktop->Remote().Station().Name, "Bravo");
}

TEST_F(DesktopWindowTest, EveryControlHasAnAccessibleNameAndTheStarsASpokenValue) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Player::isUnderWay(Wmp->playState()); }, 5000));
    // With words in the find row, whose clear button then shows.
    form.FilterBar1->Field()->setText("a");
    // Whatever a listener can reach with the keyboard or the mouse, as a screen reader finds it.
    // A scroll bar is told by its role and direction.
    QStringList nameless;
    for (QWidget *widget : form.findChildren<QWidget *>()) {
        const bool control = widget->focusPolicy() != Qt::NoFocus ||
                             qobject_cast<QAbstractButton *>(widget) ||
                             qobject_cast<QAbstractSlider *>(widget);
        if (!control || !widget->isVisibleTo(&form) || !widget->isEnabled() ||
            qobject_cast<QScrollBar *>(widget))
            continue;
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(widget);
        if (!reader || reader->text(QAccessible::Name).trimmed().isEmpty())
            nameless << (widget->objectName().isEmpty()
                             ? QString::fromLatin1(widget->metaObject()->className())
                             : widget->objectName());
    }
    EXPECT_EQ(nameless, QStringList{});
    const auto nameOf = [](QWidget *Widget) {
        return QAccessible::queryAccessibleInterface(Widget)->text(QAccessible::Name);
    };
    auto *playPause = Wmp->findChild<QAbstractButton *>("playPauseButton");
    EXPECT_EQ(nameOf(playPause), "Pause");
    Desktop->Remote().Pause();
    EXPECT_EQ(nameOf(playPause), "Play");
    EXPECT_EQ(nameOf(Wmp->findChild<QWidget *>("stopButton")), "Stop");
    EXPECT_EQ(nameOf(Wmp->findChild<QWidget *>("volumeSlider")), "Volume");

    // The Fav column is read out as words, in both of the window's languages.
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(form.DBGrid1);
    ASSERT_TRUE(grid && grid->tableInterface());
    const auto spoken = [&](const char *Serie) {
        const int row = form.Filter1->IndexOfTableRow(RowOfSerie(Serie)).row();
        QAccessibleInterface *cell = grid->tableInterface()->cellAt(row, 4);
        return cell ? cell->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(spoken("12"), QString::fromUtf8("favourite / favorita"));
    EXPECT_EQ(spoken("15"), QString::fromUtf8("not favourite / não favorita"));
}

TEST_F(DesktopWindowTest, EveryPlayerMenuItemShowsAShortcutOfItsOwn) {
    Options.TrayAvailable = true;
    auto &form = StartDesktop(NoBus());
    QSet<QKeySequence> seen;
    std::function<void(QMenu *)> walk = [&](QMenu *Menu) {
        for (QAction *item : Menu->actions()) {
            if (item->isSeparator())
                continue;
            if (item->menu()) {
                walk(item->menu());
                continue;
            }
            EXPECT_FALSE(item->shortcut().isEmpty()) << item->text().toStdString();
            EXPECT_TRUE(item->isShortcutVisibleInContextMenu()) << item->text().toStdString();
            EXPECT_FALSE(seen.contains(item->shortcut())) << item->shortcut().toString().toStdString();
            seen.insert(item->shortcut());
        }
    };
    walk(form.Player1);
    EXPECT_TRUE(form.Player1->menuAction()->isVisible());
    EXPECT_GE(seen.size(), 15);
}

TEST_F(DesktopWindowTest, KeysPlayTheSelectedRowPauseAndChangeTheVolume) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    Activate();
    const int charlie = RowOfSerie("20");
    form.DBGrid1->setFocus();
    form.DBGrid1->setCurrentIndex(form.DBGrid1->model()->index(charlie, 1));
    EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/two") << "selecting plays nothing";

    // Enter plays the row as a click does: labels, player and the last station in the cloud.
    QTest::keyClick(form.DBGrid1, Qt::Key_Return);
    EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/seven");
    EXPECT_EQ(form.LabelNome->text(), "Charlie");
    EXPECT_EQ(LastSerie(), "20");
    EXPECT_TRUE(Player::isUnderWay(Wmp->playState()));

    struct Press {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        bool UnderWay;
        int Volume;
    };
    Wmp->setVolume(50);
    for (const auto &p : {Press{Qt::Key_Space, {}, false, 50}, Press{Qt::Key_Space, {}, true, 50},
                          Press{Qt::Key_Up, Qt::ControlModifier, true, 55},
                          Press{Qt::Key_Down, Qt::ControlModifier, true, 50},
                          Press{Qt::Key_Period, Qt::ControlModifier, false, 50}}) {
        QTest::keyClick(form.DBGrid1, p.Key, p.Modifiers);
        EXPECT_EQ(Player::isUnderWay(Wmp->playState()), p.UnderWay)
            << QKeySequence(p.Key | p.Modifiers).toString().toStdString();
        EXPECT_EQ(Wmp->volume(), p.Volume) << QKeySequence(p.Key | p.Modifiers).toString().toStdString();
    }
    // The slider's ends hold.
    Wmp->setVolume(98);
    QTest::keyClick(form.DBGrid1, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Wmp->volume(), 100);
    Wmp->setVolume(3);
    QTest::keyClick(form.DBGrid1, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Wmp->volume(), 0);
}

TEST_F(DesktopWindowTest, NextAndPreviousFollowTheGridsOrderAndStartOver) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    // By number: Bravo (2), Charlie (7), Alpha (10); Bravo plays.
    form.DBGrid1TitleClick(0);
    struct Step {
        const char *Command;
        const char *Serie;
        const char *Name;
    };
    for (const auto &s :
         {Step{"next", "20", "Charlie"}, Step{"next", "12", "Alpha"}, Step{"next", "15", "Bravo"},
          Step{"previous", "12", "Alpha"}, Step{"previous", "20", "Charlie"}}) {
        (std::string(s.Command) == "next" ? Desktop->Commands().Next : Desktop->Commands().Previous)
            ->trigger();
        EXPECT_EQ(LastSerie(), s.Serie) << s.Command << " to " << s.Name;
        EXPECT_EQ(form.LabelNome->text(), s.Name);
        EXPECT_EQ(Desktop->Remote().Station().Name, s.Name);
        EXPECT_EQ(form.DBGrid1->currentIndex().row(), form.cdsRadios.CurrentRow());
    }
}

TEST_F(DesktopWindowTest, NextAndPreviousGoOnlyToTheRowsTheFilterShows) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    // Alpha (the profile's) and Charlie (the catalogue's) are the favourites; Bravo plays, hidden.
    form.OnlyFavourites1->trigger();
    ASSERT_EQ(form.Filter1->rowCount(), 2);
    struct Step {
        bool Next;
        const char *Name;
    };
    for (const auto &s : {Step{true, "Alpha"}, Step{true, "Charlie"}, Step{true, "Alpha"},
                          Step{false, "Charlie"}, Step{false, "Alpha"}}) {
        (s.Next ? Desktop->Commands().Next : Desktop->Commands().Previous)->trigger();
        EXPECT_EQ(Desktop->Remote().Station().Name, s.Name) << (s.Next ? "next" : "previous");
    }
    EXPECT_EQ(LastSerie(), "12");

    // One row shown, and it plays: nowhere to go. Paused there, neither the keys nor the desktop
    // resume it or write the last station again.
    form.OnlyFavourites1->trigger();
    form.FilterBar1->Field()->setText("alpha");
    ASSERT_EQ(form.Filter1->rowCount(), 1);
    EXPECT_FALSE(Desktop->Remote().CanGoNext());
    EXPECT_FALSE(Desktop->Remote().CanGoPrevious());
    Desktop->Remote().Pause();
    Activate();
    form.DBGrid1->setFocus();
    const auto lastWrites = CallsTo("/LAST").size();
    const std::pair<const char *, std::function<void()>> goes[] = {
        {"Ctrl+Right", [&] { QTest::keyClick(form.DBGrid1, Qt::Key_Right, Qt::ControlModifier); }},
        {"Ctrl+Left", [&] { QTest::keyClick(form.DBGrid1, Qt::Key_Left, Qt::ControlModifier); }},
        {"the desktop's Next", [&] { Desktop->Remote().Next(); }},
        {"the desktop's Previous", [&] { Desktop->Remote().Previous(); }},
    };
    for (const auto &[name, go] : goes) {
        go();
        EXPECT_EQ(Wmp->playState(), Player::PlaybackState::Paused) << name;
        EXPECT_EQ(CallsTo("/LAST").size(), lastWrites) << name;
    }
    form.FilterBar1->Field()->setText("bravo");
    EXPECT_TRUE(Desktop->Remote().CanGoNext());
}

TEST_F(DesktopWindowTest, TheFindRowKeepsItsSpaceAndItsEnterPlaysTheFirstMatch) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    Activate();
    const auto state = Wmp->playState();
    QTest::keyClick(form.DBGrid1, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form.FilterBar1->Field()->hasFocus());
    QTest::keyClicks(form.FilterBar1->Field(), "pop us");
    EXPECT_EQ(form.FilterBar1->Field()->text(), "pop us") << "Space is the field's, not Play/Pause";
    EXPECT_EQ(Wmp->playState(), state);
    ASSERT_EQ(form.Filter1->rowCount(), 1);

    // The playing row is hidden, so nothing is selected: Enter is the row's, not the menu's
    // "Play selected station", and plays the match.
    QTest::keyClick(form.FilterBar1->Field(), Qt::Key_Return);
    EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/seven");
    EXPECT_EQ(LastSerie(), "20");
    EXPECT_TRUE(form.FilterBar1->Field()->hasFocus());
}

TEST_F(DesktopWindowTest, KeysOfTheGridAndThePlayerAreNeverTakenFromAFocusedControl) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    Activate();
    const auto control = [&](const char *Name) { return Wmp->findChild<QWidget *>(Name); };
    const auto state = [&] {
        const auto now = Wmp->playState();
        return Player::isUnderWay(now)                ? "under way"
               : now == Player::PlaybackState::Paused ? "paused"
                                                      : "stopped";
    };
    struct Press {
        const char *Where;
        QWidget *Focus;
        Qt::Key Key;
        // What the key leaves behind: the player's state and the station in it.
        const char *State;
        const char *Url;
    };
    const Press presses[] = {
        {"Space on Stop presses Stop", control("stopButton"), Qt::Key_Space, "stopped", "two"},
        {"Enter on Stop plays nothing", control("stopButton"), Qt::Key_Return, "under way", "two"},
        {"Space on the slider", control("volumeSlider"), Qt::Key_Space, "under way", "two"},
        {"Enter on the slider", control("volumeSlider"), Qt::Key_Enter, "under way", "two"},
        {"Space in the grid pauses", form.DBGrid1, Qt::Key_Space, "paused", "two"},
        {"Enter in the grid plays the selected row", form.DBGrid1, Qt::Key_Return, "under way", "seven"},
        {"Space with no control focused pauses", nullptr, Qt::Key_Space, "paused", "two"},
    };
    for (const auto &p : presses) {
        // Bravo plays, Charlie is selected.
        form.cdsRadios.Locate("serie", "15");
        form.DBGrid1CellClick();
        form.cdsRadios.Locate("serie", "20");
        if (p.Focus) {
            p.Focus->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(p.Focus->hasFocus()) << p.Where;
        } else if (QWidget *focused = QApplication::focusWidget()) {
            focused->clearFocus();
        }
        QTest::keyClick(p.Focus ? p.Focus : static_cast<QWidget *>(&form), p.Key);
        EXPECT_STREQ(state(), p.State) << p.Where;
        EXPECT_EQ(Wmp->URL(), QStringLiteral("http://127.0.0.1:1/") + p.Url) << p.Where;
    }
}

TEST_F(DesktopWindowTest, NothingPlayingNextStartsAtTheTopAndPreviousAtTheBottom) {
    struct Case {
        bool Next;
        const char *Name;
    };
    for (const auto &c : {Case{true, "Alpha"}, Case{false, "Charlie"}}) {
        auto &form = Desktop ? Restart(NoBus()) : StartDesktop(NoBus());
        form.DBGrid1->selectionModel()->clear();
        ASSERT_TRUE(Wmp->URL().isEmpty());
        (c.Next ? Desktop->Commands().Next : Desktop->Commands().Previous)->trigger();
        EXPECT_EQ(Desktop->Remote().Station().Name, c.Name);
    }
}

TEST_F(DesktopWindowTest, TrayMenuSharesTheMenusItemsAndPlaysAFavourite) {
    SetProfile(kProfile);
    Options.TrayAvailable = true;
    auto &form = StartDesktop(NoBus());
    PlayerTrayIcon *tray = Desktop->Tray();
    ASSERT_TRUE(tray);
    EXPECT_EQ(tray->Icon().toolTip(), "Bravo");
    QStringList items;
    for (QAction *item : tray->Menu().actions())
        if (!item->isSeparator())
            items << item->text();
    EXPECT_EQ(items,
              (QStringList{"Play/Pause", "Stop", "Favourites",
                           QString::fromUtf8("Recent titles / Títulos recentes"), "Sleep timer", "Quit"}));
    EXPECT_TRUE(tray->Menu().actions().contains(Desktop->Commands().PlayPause));

    // Alpha is a favourite from the profile, Charlie from the catalogue's own mark.
    emit tray->FavouritesMenu().aboutToShow();
    QStringList favourites;
    for (QAction *item : tray->FavouritesMenu().actions())
        favourites << item->text();
    EXPECT_EQ(favourites, (QStringList{"Alpha", "Charlie"}));
    tray->FavouritesMenu().actions().at(0)->trigger();
    EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/ten");
    EXPECT_EQ(LastSerie(), "12");
    EXPECT_EQ(form.LabelNome->text(), "Alpha");
    EXPECT_EQ(tray->Icon().toolTip(), "Alpha");

    // A click hides the window, the next brings it back.
    emit tray->Icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(form.isVisible());
    emit tray->Icon().activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(form.isVisible());
    emit tray->Icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form.isVisible());

    // A middle click pauses, and the next plays again.
    for (const bool underWay : {false, true}) {
        emit tray->Icon().activated(QSystemTrayIcon::MiddleClick);
        EXPECT_EQ(Player::isUnderWay(Wmp->playState()), underWay);
    }
}

TEST_F(DesktopWindowTest, TheTrayFollowsTheStationPlayingThroughEveryChangeOfTheRows) {
    SetProfile(kProfile);
    Options.TrayAvailable = true;
    auto &form = StartDesktop(NoBus());
    PlayerTrayIcon *tray = Desktop->Tray();
    ASSERT_TRUE(tray);
    ASSERT_EQ(tray->Icon().toolTip(), "Bravo");
    struct Change {
        const char *How;
        std::function<void()> Rename;
        const char *Name;
    };
    const Change changes[] = {
        {"a reload of the catalogue",
         [&] {
             Script->Tree["ESTACOES"]["-Station02bbb"]["nome"] = "Bravo Novo";
             RunAndWaitForStartUp([&] { form.RunStartUpSequence(); });
         },
         "Bravo Novo"},
        {"a row changed in place",
         [&] {
             form.cdsRadios.Locate("serie", "15");
             form.cdsRadios.Edit();
             form.cdsRadios.SetField(fpNome, "Bravo Outro");
             form.cdsRadios.Post();
         },
         "Bravo Outro"},
        {"a sort", [&] { form.DBGrid1TitleClick(1); }, "Bravo Outro"},
    };
    for (const auto &c : changes) {
        c.Rename();
        EXPECT_EQ(Desktop->Remote().Station().Name, c.Name) << c.How;
        EXPECT_EQ(tray->Icon().toolTip(), c.Name) << c.How;
        EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/two") << c.How;
    }
    // A reload that no longer lists the station: it still plays, by its address alone.
    Script->Tree["ESTACOES"].erase("-Station02bbb");
    RunAndWaitForStartUp([&] { form.RunStartUpSequence(); });
    EXPECT_EQ(Desktop->Remote().Station(), (RemoteStation{"", "http://127.0.0.1:1/two", ""}));
    EXPECT_EQ(tray->Icon().toolTip(), "Tunewell");
}

TEST_F(DesktopWindowTest, WithoutFavouritesTheTraySaysSo) {
    Options.TrayAvailable = true;
    StartDesktop(NoBus());
    // No profile: only the catalogue's own marks, and Charlie's is taken off.
    auto &form = *Form;
    form.cdsRadios.Locate("serie", "20");
    form.cdsRadios.Edit();
    form.cdsRadios.SetField(fpFavoritos, "2");
    form.cdsRadios.Post();
    emit Desktop->Tray()->FavouritesMenu().aboutToShow();
    const auto items = Desktop->Tray()->FavouritesMenu().actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.at(0)->text(), "No favourites");
    EXPECT_FALSE(items.at(0)->isEnabled());
}

TEST_F(DesktopWindowTest, CloseToTrayHidesAndQuitStillWritesTheCloseRecord) {
    SetProfile(kProfile);
    Options.TrayAvailable = true;
    auto &form = StartDesktop(NoBus());
    EXPECT_FALSE(Desktop->CloseToTrayItem()->isChecked()) << "off by default";

    Desktop->CloseToTrayItem()->trigger();
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Offline(), "Online") << "hiding is not closing";
    EXPECT_EQ(Ended, 0);

    Desktop->QuitItem()->trigger();
    EXPECT_EQ(Offline(), "Offline");
    EXPECT_EQ(Ended, 1);
}

TEST_F(DesktopWindowTest, WithCloseToTrayOffClosingEndsAsBefore) {
    SetProfile(kProfile);
    Options.TrayAvailable = true;
    auto &form = StartDesktop(NoBus());
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Offline(), "Offline");
}

TEST_F(DesktopWindowTest, ChoicesSurviveARestart) {
    int askedFrom = 0;
    Options.TrayAvailable = true;
    Options.AskSleepMinutes = [&](QWidget *, int Initial) {
        askedFrom = Initial;
        return std::optional<int>(7);
    };
    auto *form = &StartDesktop(NoBus());
    EXPECT_EQ(Wmp->volume(), 50);
    Activate();
    QTest::keyClick(form->DBGrid1, Qt::Key_Up, Qt::ControlModifier);
    Desktop->CloseToTrayItem()->trigger();
    Desktop->Commands().Stop->trigger();
    QTest::keyClick(form->DBGrid1, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(askedFrom, 30) << "the default duration";
    EXPECT_TRUE(Desktop->Sleep().Running());

    form = &Restart(NoBus());
    EXPECT_EQ(Wmp->volume(), 55);
    EXPECT_TRUE(Desktop->CloseToTrayItem()->isChecked());
    EXPECT_TRUE(Desktop->Control().CloseToTray());
    EXPECT_FALSE(Desktop->Sleep().Running()) << "a timer does not outlive its run";
    Activate();
    QTest::keyClick(form->DBGrid1, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(askedFrom, 7);
}

TEST_F(DesktopWindowTest, SleepTimerCountsDownInTheStatusBarFadesStopsAndRestoresTheVolume) {
    SetProfile(kProfile);
    auto now = SleepCountdown::Clock::time_point{};
    Options.SleepClock = [&now] { return now; };
    Options.SleepTick = std::chrono::milliseconds(1);
    auto &form = StartDesktop(NoBus());
    auto *panel = form.StatusBar1->findChild<QLabel *>("SleepTimerPanel");
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->isHidden());
    Wmp->setVolume(60);
    Activate();
    QTest::keyClick(form.DBGrid1, Qt::Key_1, Qt::ControlModifier);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->text(), "Sleep in 15:00");

    const auto advanceTo = [&](std::chrono::seconds At) {
        now = SleepCountdown::Clock::time_point{} + At;
        QTest::qWait(20);
    };
    using namespace std::chrono_literals;
    advanceTo(14min + 1s);
    EXPECT_EQ(panel->text(), "Sleep in 0:59");
    EXPECT_EQ(Wmp->volume(), 60);
    advanceTo(14min + 45s);
    EXPECT_EQ(Wmp->volume(), 30) << "half way through the fade";
    EXPECT_TRUE(Player::isUnderWay(Wmp->playState()));
    advanceTo(15min);
    EXPECT_FALSE(Player::isUnderWay(Wmp->playState()));
    EXPECT_EQ(Wmp->volume(), 60);
    EXPECT_TRUE(panel->isHidden());

    // Cancelled during the fade, the volume goes back at once and playback goes on.
    Desktop->Commands().PlayPause->trigger();
    now = {};
    QTest::keyClick(form.DBGrid1, Qt::Key_1, Qt::ControlModifier);
    advanceTo(14min + 50s);
    EXPECT_EQ(Wmp->volume(), 20);
    QTest::keyClick(form.DBGrid1, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Wmp->volume(), 60);
    EXPECT_TRUE(Player::isUnderWay(Wmp->playState()));
    EXPECT_TRUE(panel->isHidden());

    // The listener's own level during the fade ends the fade; playback still stops at the end,
    // and their level is the one kept.
    now = {};
    QTest::keyClick(form.DBGrid1, Qt::Key_1, Qt::ControlModifier);
    advanceTo(14min + 45s);
    ASSERT_EQ(Wmp->volume(), 30);
    QTest::keyClick(form.DBGrid1, Qt::Key_Up, Qt::ControlModifier);
    advanceTo(14min + 50s);
    EXPECT_EQ(Wmp->volume(), 35);
    EXPECT_FALSE(Desktop->Sleep().Fading());
    advanceTo(15min);
    EXPECT_FALSE(Player::isUnderWay(Wmp->playState()));
    EXPECT_EQ(Wmp->volume(), 35);
    Desktop.reset();
    EXPECT_EQ(PlayerSettings().Volume(), 35);
}

} // namespace
} // namespace Tunewell::Testing
