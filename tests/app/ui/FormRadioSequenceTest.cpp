// The main window's cloud sequences off the UI thread: their order, the kept catalogue shown
// first, refreshes that leave the player alone, the close record last, and a window that keeps
// answering while the cloud does not.
#include "Cumulo/Helpers.h"
#include "FormRadioFixture.h"
#include "app/core/KeptCatalogue.h"
#include "app/ui/StationFilterBar.h"
#include "app/ui/StatusNotice.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace Tunewell::Testing {
namespace {

using Cumulo::TJSONValue;

// Holds every call of the scripted cloud that contains a text, as a cloud that does not answer,
// until it is let go.
class CallGate {
public:
    void Hold(FakeCloudScript &Script, const std::string &Needle) {
        Script.Holding = [this, Needle](const std::string &Call) {
            if (Call.find(Needle) == std::string::npos)
                return;
            std::unique_lock lock(Lock_);
            ++Held_;
            Opened_.wait(lock, [this] { return Open_; });
        };
    }
    bool WaitUntilHeld() {
        return QTest::qWaitFor(
            [this] {
                const std::lock_guard lock(Lock_);
                return Held_ > 0;
            },
            5000);
    }
    void Release() {
        {
            const std::lock_guard lock(Lock_);
            Open_ = true;
        }
        Opened_.notify_all();
    }

private:
    std::mutex Lock_;
    std::condition_variable Opened_;
    int Held_ = 0;
    bool Open_ = false;
};

// The calls without their bodies.
std::vector<std::string> Requests(const std::vector<std::string> &Calls) {
    std::vector<std::string> requests;
    for (const auto &call : Calls) {
        const auto method = call.find(' ');
        requests.push_back(call.substr(0, call.find(' ', method + 1)));
    }
    return requests;
}

QStringList ShownNames(TFormRadio &Form) {
    QStringList names;
    for (int row = 0; row < Form.DBGrid1->model()->rowCount(); ++row)
        names << Form.DBGrid1->model()->index(row, 1).data().toString();
    return names;
}

class FormRadioSequenceTest : public FormRadioFixture {
protected:
    void SetUp() override {
        FormRadioFixture::SetUp();
        Dialogs = RecordingDialogs{};
    }
    void TearDown() override {
        Gate.Release();
        FormRadioFixture::TearDown();
        Script->Holding = nullptr;
    }

    // A first start keeps the profile's catalogue; then the cloud's copy changes: Bravo (serie
    // 15, the last station) is renamed and Charlie (serie 20) is gone.
    void KeepThenChangeTheCloud() {
        SetProfile(kProfile);
        Kept = std::make_shared<KeptCatalogue>(Folder.filePath(QStringLiteral("catalogue.kept")));
        Start();
        WaitForKept(1);
        WaitForCloud();
        Form.reset();
        Script->Tree["ESTACOES"]["-Station02bbb"]["nome"] = "Bravo Two";
        Script->Tree["ESTACOES"].erase("-Station03ccc");
        Script->Calls.clear();
    }

    // A start that shows the kept catalogue while the cloud, changed since, holds its answers.
    TFormRadio &ShowKeptWhileTheCloudWaits() {
        KeepThenChangeTheCloud();
        Gate.Hold(*Script, "GET VERSOES");
        auto &form = Create();
        form.show();
        EXPECT_TRUE(Gate.WaitUntilHeld());
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.cdsRadios.RowCount() == 3; }, 5000));
        return form;
    }

    QTemporaryDir Folder;
    CallGate Gate;
};

TEST_F(FormRadioSequenceTest, TheStartSendsWhatItAlwaysSentInTheSameOrder) {
    SetProfile(kProfile);
    auto &form = Start();
    const std::vector<std::string> start{"GET CADASTRADO/-Prof1/LAST",
                                         "GET VERSOES",
                                         "GET ESTACOES",
                                         "GET CADASTRADO/-Prof1/PROPRIAS",
                                         "GET CADASTRADO/-Prof1/LAST",
                                         "GET CADASTRADO/-Prof1/FAVORITOS",
                                         "PATCH CADASTRADO/-Prof1/STATUS"};
    EXPECT_EQ(Requests(Script->Calls), start);
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral("^memRTDB\nHora_Entrada: \"[^\"]+\"\nData: \"[^\"]+\"\nStatus: \"Online\"$"))
            .match(form.memRTDB->toPlainText())
            .hasMatch())
        << form.memRTDB->toPlainText().toStdString();

    // A click's record, then the close record; the log memo shows what each write answered.
    ClickCell(RowOfSerie("20"), 1);
    WaitForCloud();
    EXPECT_EQ(form.memRTDB->toPlainText(), "Serie: \"20\"");
    form.close();
    WaitForCloud();
    std::vector<std::string> all = start;
    all.insert(all.end(), {"PATCH CADASTRADO/-Prof1/LAST", "PATCH CADASTRADO/-Prof1/STATUS"});
    EXPECT_EQ(Requests(Script->Calls), all);
    EXPECT_NE(Script->Calls.back().find("\"Status\":\"Offline\""), std::string::npos);
    EXPECT_TRUE(form.memRTDB->toPlainText().endsWith("Status: \"Offline\""));
}

TEST_F(FormRadioSequenceTest, TheKeptCatalogueShowsFirstAndTheCloudsTakesItsPlaceInPlace) {
    // Before the cloud has answered anything but the sign-in: the kept rows, the last station.
    auto &form = ShowKeptWhileTheCloudWaits();
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(Player->Played, QStringList{"http://127.0.0.1:1/two"});
    EXPECT_EQ(form.LabelNome->text(), "Bravo");
    EXPECT_EQ(form.cdsRadios.DisplayText(RowOfSerie("12"), fpFavoritos), "1");
    EXPECT_TRUE(form.CloudNotice()->Line().contains("waiting for the cloud"))
        << form.CloudNotice()->Line().toStdString();
    EXPECT_EQ(Requests(Script->Calls),
              (std::vector<std::string>{"GET CADASTRADO/-Prof1/LAST", "GET VERSOES"}));

    // Meanwhile the listener sorts, narrows the grid and selects another station.
    form.DBGrid1TitleClick(1);
    form.FilterBar1->Field()->setText(QStringLiteral("a"));
    form.cdsRadios.SetCurrentRow(RowOfSerie("12"));
    ASSERT_EQ(ShownNames(form), QStringList({"Alpha", "Bravo", "Charlie"}));

    QSignalSpy finished(&form, &TFormRadio::StartUpSequenceFinished);
    Gate.Release();
    ASSERT_TRUE(finished.wait(10000));
    WaitForCloud();
    EXPECT_EQ(ShownNames(form), QStringList({"Alpha", "Bravo Two"}));
    EXPECT_EQ(form.cdsRadios.SortField(), "nome");
    EXPECT_EQ(form.FilterBar1->Field()->text(), "a");
    EXPECT_EQ(form.cdsRadios.FieldText(fpSerie), "12");
    // The station playing is neither restarted nor switched; its labels follow its new row.
    EXPECT_EQ(Player->Played, QStringList{"http://127.0.0.1:1/two"});
    EXPECT_EQ(form.LabelNome->text(), "Bravo Two");
    EXPECT_EQ(form.cdsRadios.DisplayText(RowOfSerie("12"), fpFavoritos), "1");
    EXPECT_TRUE(form.CloudNotice()->Line().isEmpty());
}

TEST_F(FormRadioSequenceTest, ARefreshLeavesThePlayerAsTheListenerLeftIt) {
    SetProfile(kProfile);
    auto &form = Start();
    ClickCell(RowOfSerie("12"), 1);
    WaitForCloud();
    const QStringList played = Player->Played;
    // Paused or stopped, the player keeps its station; the cloud's last station changed elsewhere.
    Script->Tree["CADASTRADO"][kProfile]["LAST"] = TJSONValue{{"Serie", "20"}};
    for (int reload = 0; reload < 2; ++reload) {
        RunAndWaitForStartUp([&] { form.About1->trigger(); });
        WaitForCloud();
    }
    EXPECT_EQ(Player->Played, played);
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/ten");
    EXPECT_EQ(form.LabelNome->text(), "Alpha");
    EXPECT_EQ(form.cdsRadios.FieldText(fpSerie), "12");
}

TEST_F(FormRadioSequenceTest, ClosingDuringASequenceEndsItAndWritesTheCloseRecordLast) {
    SetProfile(kProfile);
    Gate.Hold(*Script, "GET ESTACOES");
    auto &form = Create();
    form.show();
    ASSERT_TRUE(Gate.WaitUntilHeld());
    form.close();
    EXPECT_FALSE(form.isVisible()) << "the window goes at once";
    Gate.Release();
    WaitForCloud();
    const std::vector<std::string> requests{"GET CADASTRADO/-Prof1/LAST", "GET VERSOES", "GET ESTACOES",
                                            "PATCH CADASTRADO/-Prof1/STATUS"};
    EXPECT_EQ(Requests(Script->Calls), requests);
    EXPECT_NE(Script->Calls.back().find("\"Status\":\"Offline\""), std::string::npos);
    EXPECT_TRUE(Cumulo::TFirebaseHelpers::AppIsTerminated());
    // A later click plays but sends nothing.
    form.RunStartUpSequence();
    WaitForCloud();
    EXPECT_EQ(Script->Calls.size(), requests.size());
}

TEST_F(FormRadioSequenceTest, TheWindowAnswersWhileTheCloudDoesNotAndAClickWaitsItsTurn) {
    auto &form = ShowKeptWhileTheCloudWaits();
    ASSERT_FALSE(HasFailure());

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QTest::qWait(200);
    EXPECT_GT(ticks, 3) << "the event loop kept turning";

    ClickCell(RowOfSerie("20"), 1);
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/seven") << "the click plays at once";
    EXPECT_EQ(form.LabelNome->text(), "Charlie");
    EXPECT_TRUE(CallsTo("/LAST {").empty()) << "its record waits for the sequence under way";

    Gate.Release();
    WaitForCloud();
    const auto requests = Requests(Script->Calls);
    const auto online = std::find(requests.begin(), requests.end(), "PATCH CADASTRADO/-Prof1/STATUS");
    const auto last = std::find(requests.begin(), requests.end(), "PATCH CADASTRADO/-Prof1/LAST");
    ASSERT_NE(last, requests.end());
    EXPECT_LT(online, last);
    EXPECT_EQ(*Node({"CADASTRADO", kProfile, "LAST"}), TJSONValue({{"Serie", "20"}}));
    // The click's station is gone from the cloud's catalogue, and it still plays.
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/seven");
}

} // namespace
} // namespace Tunewell::Testing
