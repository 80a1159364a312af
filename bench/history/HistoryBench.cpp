// Fills a history file with 10,000 titles, then opens the History window on it several times and
// prints how long the command took until the rows were shown (read off the UI thread, swapped into
// the grid, painted) and the UI thread's share of it; then types words into its find row one
// keystroke at a time and prints the median and the worst time a keystroke took (the grid's own
// update included). Usage: history-bench [--picture FILE]; run with QT_QPA_PLATFORM=offscreen
// where there is no display.
#include "KeystrokeTiming.h"
#include "SampleStations.h"
#include "StillPlayerRemote.h"
#include "app/desktop/HistoryTableModel.h"
#include "app/desktop/HistoryWindow.h"
#include "app/desktop/TitleHistory.h"
#include "app/history/HistoryDatabase.h"
#include "app/history/HistoryStore.h"
#include "app/ui/StationFilterBar.h"
#include "shared/ui/Dialogs.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

using namespace Tunewell;

class NoDialogs : public IDialogs {
public:
    void ShowMessage(QWidget *, const QString &) override {}
    bool AskYesNo(QWidget *, const QString &, const QString &) override { return false; }
    void ShowError(QWidget *, const QString &) override {}
    bool OpenAddress(const QString &) override { return false; }
    void StartNewInstance() override {}
};

const char *const kArtists[] = {"Caetano Veloso", "Marisa Monte", "Dulce Pontes", "Gilberto Gil",
                                "Ana Moura",      "Djavan",       "Elis Regina",  "Mariza",
                                "Tom Jobim",      "Gal Costa"};
const char *const kSongs[] = {"Canção do Mar",          "Águas de Março", "Sampa",       "Garota de Ipanema",
                              "Ó Gente da Minha Terra", "Ainda Bem",      "Flor de Lis", "Desfado",
                              "Aquele Abraço",          "Trem das Onze"};

// One transaction for the whole seed: the program's own writes sync each title, which a seed of
// 10,000 need not wait for.
void Seed(const std::string &File, int Titles) {
    HistoryDatabase(File, Titles);
    sqlite3 *database = nullptr;
    sqlite3_open(File.c_str(), &database);
    sqlite3_exec(database, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(
        database, "INSERT INTO titles (started_utc, title, station, serie, url) VALUES (?1, ?2, ?3, ?4, ?5)",
        -1, &insert, nullptr);
    const std::int64_t start =
        QDateTime(QDate(2026, 12, 11), QTime(7, 30)).toSecsSinceEpoch() - Titles * 200LL;
    for (int i = 0; i < Titles; ++i) {
        const std::string title = std::string(kArtists[i % 10]) + " - " + kSongs[i / 10 % 10];
        const std::string station = TunewellBench::SampleName(i % 40);
        const std::string url = "http://stream.example/" + std::to_string(i % 40);
        sqlite3_bind_int64(insert, 1, start + i * 200LL);
        sqlite3_bind_text(insert, 2, title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, station.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, std::to_string(i % 40).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, url.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(database);
}

double Milliseconds(const QElapsedTimer &Clock) {
    return static_cast<double>(Clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const qsizetype pictureAt = arguments.indexOf(QStringLiteral("--picture"));
    const QString picture =
        pictureAt > 0 && pictureAt + 1 < arguments.size() ? arguments[pictureAt + 1] : QString();
    QTemporaryDir folder;
    const std::string file = folder.filePath(QStringLiteral("history.sqlite")).toStdString();
    const int titles = HistoryDatabase::MostTitles;
    Seed(file, titles);

    HistoryStore store(file,
                       [](std::function<void()> Procedure) { QMetaObject::invokeMethod(qApp, Procedure); });
    Testing::StillPlayerRemote remote;
    remote.StateNow = Player::PlaybackState::Stopped;
    TitleHistory history(remote, store);
    NoDialogs dialogs;
    QWidget owner;

    std::printf("titles: %d\n", titles);
    std::vector<double> opening;
    std::vector<double> uiShare;
    for (int round = 0; round < 7; ++round) {
        QElapsedTimer clock;
        clock.start();
        QElapsedTimer busy;
        double ui = 0;
        busy.start();
        auto window = std::make_unique<HistoryWindow>(history, dialogs, nullptr, &owner);
        window->show();
        ui += Milliseconds(busy);
        bool loaded = false;
        QObject::connect(window.get(), &HistoryWindow::Loaded, [&] { loaded = true; });
        while (!loaded) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        busy.restart();
        window->Grid()->viewport()->repaint();
        QApplication::processEvents();
        ui += Milliseconds(busy);
        const double took = Milliseconds(clock);
        if (window->Grid()->model()->rowCount() != titles)
            std::printf("only %d rows shown\n", window->Grid()->model()->rowCount());
        // The first round warms the caches and the fonts.
        if (round > 0) {
            opening.push_back(took);
            uiShare.push_back(ui);
        }
        if (round == 6 && !picture.isEmpty()) {
            window->resize(640, 420);
            QApplication::processEvents();
            if (!window->grab().save(picture))
                std::printf("the picture could not be saved to %s\n", qPrintable(picture));
        }
    }
    std::printf("History command to %d rows shown: median %.1f ms, worst %.1f ms (UI thread: median %.1f ms, "
                "worst %.1f ms)\n",
                titles, TunewellBench::Median(opening), *std::max_element(opening.begin(), opening.end()),
                TunewellBench::Median(uiShare), *std::max_element(uiShare.begin(), uiShare.end()));

    HistoryWindow window(history, dialogs, nullptr, &owner);
    window.show();
    bool loaded = false;
    QObject::connect(&window, &HistoryWindow::Loaded, [&] { loaded = true; });
    while (!loaded)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QLineEdit *field = window.FindBar()->Field();
    std::vector<double> all;
    for (const char *word : {"cancao", "marisa monte", "aguas de marco", "radio 12", "zzz"}) {
        const auto timing = TunewellBench::TimeTyping(
            QString::fromUtf8(word), [field](const QString &Text) { field->setText(Text); },
            [&window] { return window.Grid()->model()->rowCount(); });
        all.insert(all.end(), timing.Milliseconds.begin(), timing.Milliseconds.end());
        TunewellBench::PrintWordTiming(word, timing);
    }
    TunewellBench::PrintEveryKeystroke(all);
    return 0;
}
