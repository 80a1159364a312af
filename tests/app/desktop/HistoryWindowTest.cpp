// The title history on the main window: titles heard going in, the History window, the tray's
// last titles, and a database that cannot be written.
#include "app/desktop/HistoryWindow.h"

#include "DesktopFixture.h"
#include "NoticeShown.h"
#include "Player/Wmp.h"
#include "StillPlayerRemote.h"
#include "app/desktop/HistoryTableModel.h"
#include "app/desktop/RecentTitlesMenu.h"
#include "app/desktop/TitleHistory.h"
#include "app/history/HistoryStore.h"
#include "app/ui/StationFilterBar.h"
#include "app/ui/StatusNotice.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

namespace Tunewell::Testing {
namespace {

std::int64_t At(int Hour, int Minute) {
    return QDateTime(QDate(2026, 12, 11), QTime(Hour, Minute)).toSecsSinceEpoch();
}

QStringList Column(const QAbstractItemModel &Model, int Column) {
    QStringList texts;
    for (int row = 0; row < Model.rowCount(); ++row)
        texts << Model.index(row, Column).data().toString();
    return texts;
}

class HistoryWindowTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        ASSERT_TRUE(Folder.isValid());
        Options.HistoryFile = Folder.filePath("history.sqlite").toStdString();
    }
    // Adds titles straight to the store and waits until they are written.
    void Seed(const std::vector<HistoryEntry> &Entries) {
        int written = 0;
        for (const auto &entry : Entries)
            Desktop->History().Store().Add(entry, [&](bool) { ++written; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return written == static_cast<int>(Entries.size()); }));
    }
    HistoryWindow &Open() {
        Desktop->HistoryItem()->trigger();
        HistoryWindow *window = Desktop->HistoryShown();
        EXPECT_TRUE(window);
        QSignalSpy loaded(window, &HistoryWindow::Loaded);
        EXPECT_TRUE(loaded.wait(5000));
        return *window;
    }
    QTemporaryDir Folder;
};

TEST_F(HistoryWindowTest, TitlesShownGoInOnceWithTheirStationAndTheTimeTheyCame) {
    StillPlayerRemote remote;
    remote.StationNow = {"Rádio Alpha", "http://a/stream", "10"};
    HistoryStore store("",
                       [](std::function<void()> Procedure) { QMetaObject::invokeMethod(qApp, Procedure); });
    auto now = std::chrono::system_clock::from_time_t(At(7, 30));
    TitleHistory history(remote, store, [&] { return now; });
    std::vector<HistoryEntry> added;
    QObject::connect(&history, &TitleHistory::Added,
                     [&](const HistoryEntry &Entry) { added.push_back(Entry); });
    remote.ShowTitle("Nara - Sol");
    remote.ShowTitle("");           // the station changes: no title
    now += std::chrono::minutes(1); // a reconnect later, the same title again
    remote.ShowTitle("Nara - Sol");
    for (int i = 1; i <= 6; ++i) {
        now += std::chrono::minutes(4);
        remote.ShowTitle(QStringLiteral("Song %1").arg(i));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return added.size() >= 7; }));
    QTest::qWait(50);
    ASSERT_EQ(added.size(), 7u) << "the repeat went in";
    EXPECT_EQ(added[0], (HistoryEntry{"Nara - Sol", "Rádio Alpha", "10", "http://a/stream", At(7, 30)}));
    ASSERT_EQ(history.Recent().size(), 5u);
    EXPECT_EQ(history.Recent().front().Title, "Song 6");
    EXPECT_EQ(history.Recent().back().Title, "Song 2");

    // The tray's list: the newest first; a click copies the title.
    RecentTitlesMenu menu(history, nullptr);
    emit menu.aboutToShow();
    QStringList shown;
    for (QAction *item : menu.actions())
        shown << item->text();
    EXPECT_EQ(shown, (QStringList{"Song 6", "Song 5", "Song 4", "Song 3", "Song 2"}));
    menu.actions().at(1)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Song 5");
}

TEST_F(HistoryWindowTest, TheWindowListsFindsCopiesSearchesAndSaves) {
    QString asked;
    Options.AskHistoryFile = [&](QWidget *) { return asked; };
    StartDesktop(NoBus());
    Seed({{"Canção do Mar", "Rádio São Paulo", "1", "http://sp", At(7, 0)},
          {"Lua, \"ao vivo\"", "Bravo", "2", "http://b", At(7, 5)},
          {"Sol", "Bravo", "2", "http://b", At(7, 10)}});
    HistoryWindow &window = Open();
    EXPECT_FALSE(window.isModal());
    EXPECT_TRUE(window.isWindow());
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("History / Histórico"));
    const auto &model = *window.Grid()->model();
    EXPECT_EQ(Column(model, HistoryTableModel::TitleColumn),
              (QStringList{"Sol", "Lua, \"ao vivo\"", QString::fromUtf8("Canção do Mar")}));
    EXPECT_EQ(Column(model, HistoryTableModel::TimeColumn).first(), "2026-12-11 07:10:00");
    EXPECT_EQ(window.StatusLine()->text(), QString::fromUtf8("3 titles / títulos"));
    EXPECT_FALSE(window.CopyButton()->isEnabled()) << "nothing selected";

    // Every word, in the title or the station, case and accents aside; Esc clears.
    QLineEdit *field = window.FindBar()->Field();
    QTest::keyClicks(field, QString::fromUtf8("CANCAO paulo"));
    EXPECT_EQ(Column(model, HistoryTableModel::TitleColumn), QStringList{QString::fromUtf8("Canção do Mar")});
    field->clear();
    QTest::keyClicks(field, "bravo");
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(window.StatusLine()->text(), QString::fromUtf8("2 of 3 titles / 2 de 3 títulos"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(model.rowCount(), 3);

    // Read again, the newest title is at the top.
    Seed({{"Estrela", "Bravo", "2", "http://b", At(7, 20)}});
    window.Reload();
    ASSERT_TRUE(QSignalSpy(&window, &HistoryWindow::Loaded).wait(5000));
    EXPECT_EQ(Column(model, HistoryTableModel::TitleColumn).first(), "Estrela");

    // Copy: "time  station  title" per selected row, newest first.
    window.Grid()->selectRow(1);
    window.Grid()->selectionModel()->select(model.index(2, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_TRUE(window.CopyButton()->isEnabled());
    window.Grid()->setFocus();
    QTest::keyClick(window.Grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "2026-12-11 07:10:00  Bravo  Sol\n"
                                                 "2026-12-11 07:05:00  Bravo  Lua, \"ao vivo\"\n");

    // Tab leaves the grid for its buttons; the arrows walk the cells.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Grid()->setFocus();
    QTest::keyClick(window.Grid(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.CopyButton());

    // The web search opens the browser with the first selected title.
    window.Grid()->clearSelection();
    window.Grid()->selectRow(2);
    window.SearchButton()->click();
    EXPECT_EQ(Dialogs.Texts(RecordingDialogs::Kind::OpenAddress),
              std::vector<QString>{"https://duckduckgo.com/?q=Lua%2C%20%22ao%20vivo%22"});

    // Save as: the rows shown, CSV by the name's ending, text otherwise.
    const auto save = [&](const QString &File) {
        asked = File;
        QSignalSpy ended(&window, &HistoryWindow::SaveEnded);
        window.SaveButton()->click();
        EXPECT_TRUE(ended.wait(5000)) << File.toStdString();
    };
    QTest::keyClicks(field, "bravo");
    save(Folder.filePath("bravo.CSV"));
    QFile csv(Folder.filePath("bravo.CSV"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), "time,station,title,address\r\n"
                             "2026-12-11 07:20:00,Bravo,Estrela,http://b\r\n"
                             "2026-12-11 07:10:00,Bravo,Sol,http://b\r\n"
                             "2026-12-11 07:05:00,Bravo,\"Lua, \"\"ao vivo\"\"\",http://b\r\n");
    EXPECT_EQ(window.StatusLine()->text(), "Saved / Salvo: " + Folder.filePath("bravo.CSV"));
    save(Folder.filePath("bravo.txt"));
    QFile text(Folder.filePath("bravo.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().startsWith("2026-12-11 07:20:00  Bravo  Estrela\n"));
    // A folder that is not there: said, and nothing else changes.
    save(Folder.filePath("missing/folder/bravo.txt"));
    const auto messages = Dialogs.Texts(RecordingDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("The history could not be saved.")) << messages[0].toStdString();
    EXPECT_TRUE(window.SaveButton()->isEnabled());
}

TEST_F(HistoryWindowTest, ADatabaseThatCannotBeWrittenIsSaidOnceAndPlaybackGoesOn) {
    std::ofstream(Folder.filePath("blocked").toStdString()) << "a file";
    Options.HistoryFile = Folder.filePath("blocked/history.sqlite").toStdString();
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    int written = 0;
    for (const char *title : {"one", "two"})
        Desktop->History().Store().Add({title, "Bravo", "2", "http://b", At(7, 0)}, [&](bool) { ++written; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return written == 2; }));
    StatusNotice *notice = Desktop->HistoryNotice();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice->isVisible(); }));
    EXPECT_EQ(notice->Line(), QString::fromUtf8("History not kept / Histórico não guardado"));
    EXPECT_TRUE(notice->toolTip().contains("cannot open")) << notice->toolTip().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return NoticeUnreadable(*notice).isEmpty(); }))
        << NoticeUnreadable(*notice).toStdString();
    EXPECT_EQ(Wmp->URL(), "http://127.0.0.1:1/two") << "the last station still played";
    (void)form;
}

} // namespace
} // namespace Tunewell::Testing
