#include "Cumulo/Exceptions.h"
#include "FormRadioFixture.h"
#include "app/core/StationTable.h"
#include "shared/core/MacAddress.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>

namespace Tunewell::Testing {
namespace {

using Cumulo::TJSONValue;
using Kind = RecordingDialogs::Kind;

class FormRadioStartUpTest : public FormRadioFixture {};

TEST_F(FormRadioStartUpTest, WithoutProfileLoadsTheCatalogueAndRecordsTheMachine) {
    auto &form = Start();
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
    EXPECT_EQ(form.cdsRadios.DisplayText(0, fpID), "-Stati");
    EXPECT_TRUE(CallsTo("LAST").empty());
    EXPECT_TRUE(CallsTo("FAVORITOS").empty());
    EXPECT_TRUE(Player->Played.isEmpty());
    EXPECT_EQ(form.LabelNome->text(), ".");
    EXPECT_FALSE(Player->ContextMenu);
    EXPECT_TRUE(Dialogs.Entries.empty());

    const std::string adapter = getMacAddress();
    if (adapter.empty()) {
        // No adapter address: no record under an empty key.
        EXPECT_TRUE(CallsTo("NAO_CADASTRADO").empty());
    } else {
        const auto *record = Node({"NAO_CADASTRADO", adapter});
        ASSERT_TRUE(record);
        EXPECT_EQ(record->at("Status"), "Online");
        EXPECT_TRUE(record->contains("Nome"));
        EXPECT_TRUE(record->contains("Hora_Entrada"));
        EXPECT_TRUE(record->contains("Data"));
    }
}

TEST_F(FormRadioStartUpTest, WithProfilePlaysTheLastStationAndMarksFavourites) {
    SetProfile(kProfile);
    auto &form = Start();
    ASSERT_EQ(form.cdsRadios.RowCount(), 3);
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/two");
    EXPECT_FALSE(Player->Played.isEmpty());
    EXPECT_EQ(form.LabelNum->text(), "2");
    EXPECT_EQ(form.LabelNome->text(), "Bravo");
    EXPECT_EQ(form.LabelStyle->text(), "Jazz");
    EXPECT_EQ(form.LabelLocation->text(), "PT");
    EXPECT_EQ(form.LabelQualidade->text(), "64k");
    EXPECT_EQ(form.last_radio, "15");
    // The station being played is the current row once the favourites are marked.
    EXPECT_EQ(form.cdsRadios.CurrentRow(), RowOfSerie("15"));
    EXPECT_EQ(form.cdsRadios.DisplayText(RowOfSerie("12"), fpFavoritos), "1");
    const auto *status = Node({"CADASTRADO", kProfile, "STATUS"});
    ASSERT_TRUE(status);
    EXPECT_EQ(status->at("Status"), "Online");
    EXPECT_TRUE(CallsTo("NAO_CADASTRADO").empty());
}

TEST_F(FormRadioStartUpTest, OffersAnUpdateOnlyForANewerVersion) {
    struct Case {
        const char *Published;
        bool Prompt;
        bool AnswerYes;
    };
    const std::vector<Case> cases{
        {"2.3", true, true},   {"2.3", true, false},  {"2.2", false, true},
        {"10.0", false, true}, {"2.2.1", true, true}, {"", false, true},
    };
    for (const auto &c : cases) {
        SetUp();
        Dialogs = RecordingDialogs{};
        Dialogs.AnswerYes = c.AnswerYes;
        Script->Tree["VERSOES"]["Software"] = c.Published;
        auto &form = Start();
        const auto questions = Dialogs.Texts(Kind::Question);
        const auto opened = Dialogs.Texts(Kind::OpenAddress);
        if (c.Prompt) {
            ASSERT_EQ(questions.size(), 1u) << c.Published;
            EXPECT_EQ(questions[0], QStringLiteral("there is a new version of the radio, do you want to "
                                                   "download?\rExiste uma nova vers\u00E3o do R\u00E1dio, "
                                                   "deseja baixar?"));
            EXPECT_EQ(Dialogs.Entries[0].Caption, QStringLiteral("Atualiza\u00E7\u00E3o"));
        } else {
            EXPECT_TRUE(questions.empty()) << c.Published;
        }
        if (c.Prompt && c.AnswerYes)
            EXPECT_EQ(opened, std::vector<QString>{"http://127.0.0.1:1/download"}) << c.Published;
        else
            EXPECT_TRUE(opened.empty()) << c.Published;
        EXPECT_EQ(form.cdsRadios.RowCount(), 3) << c.Published;
        TearDown();
    }
}

TEST_F(FormRadioStartUpTest, RejectedServiceAccountEndsTheRunWithItsMessage) {
    struct Case {
        std::function<void(FakeCloudScript &)> Reject;
        QString Message;
    };
    const std::vector<Case> cases{
        {[](FakeCloudScript &S) { S.AcceptedEmail = "other@tunewell.local"; }, "Email nao existe."},
        {[](FakeCloudScript &S) { S.AcceptedPassword = "other9999"; }, "Senha invalida."},
    };
    for (const auto &c : cases) {
        SetUp();
        Dialogs = RecordingDialogs{};
        c.Reject(*Script);
        auto &form = Start();
        EXPECT_EQ(Dialogs.Texts(Kind::Message), std::vector<QString>{c.Message});
        EXPECT_EQ(form.cdsRadios.RowCount(), 0);
        EXPECT_TRUE(Script->Calls.empty());
        TearDown();
    }
}

TEST_F(FormRadioStartUpTest, ReadFailuresReachTheErrorReportAndSkipTheRest) {
    struct Case {
        const char *Name;
        std::function<void(FakeCloudScript &)> Break;
    };
    const std::vector<Case> cases{
        {"missing VERSOES", [](FakeCloudScript &S) { S.Tree.erase("VERSOES"); }},
        {"ESTACOES not an object", [](FakeCloudScript &S) { S.Tree["ESTACOES"] = "none"; }},
        {"stopped cloud",
         [](FakeCloudScript &S) {
             S.SignInError = "Connection refused";
             S.Answer = [](const std::string &, const Cumulo::TStringDynArray &,
                           const TJSONValue *) -> Cumulo::TOptionalJSON {
                 throw Cumulo::ETransport("Connection refused");
             };
         }},
    };
    for (const auto &c : cases) {
        SetUp();
        Dialogs = RecordingDialogs{};
        c.Break(*Script);
        Start();
        EXPECT_EQ(Dialogs.Texts(Kind::Error).size(), 1u) << c.Name;
        EXPECT_TRUE(CallsTo("STATUS").empty() && CallsTo("NAO_CADASTRADO").empty()) << c.Name;
        // Step 13 is skipped with the rest.
        EXPECT_TRUE(Player->ContextMenu) << c.Name;
        TearDown();
    }
}

TEST_F(FormRadioStartUpTest, ReopeningAChildWindowReplacesTheCatalogueAndKeepsThePlayedStation) {
    SetProfile(kProfile);
    auto &form = Start();
    form.move(120, 80);
    const auto writesBefore = CallsTo("STATUS").size();
    ClickCell(RowOfSerie("20"), 1);
    WaitForCloud();
    ASSERT_EQ(Player->Url, "http://127.0.0.1:1/seven");

    RunAndWaitForStartUp([&] { form.About1->trigger(); });
    ASSERT_EQ(ChildPositions.size(), 1u);
    EXPECT_EQ(ChildPositions[0], form.frameGeometry().topLeft() + QPoint(6, 26));
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
    EXPECT_EQ(CallsTo("STATUS").size(), writesBefore + 1);
    // The click wrote LAST, so the run plays that station again and keeps it current.
    EXPECT_EQ(Player->Url, "http://127.0.0.1:1/seven");
    EXPECT_EQ(form.cdsRadios.CurrentRow(), RowOfSerie("20"));
}

TEST_F(FormRadioStartUpTest, CloseRecordsOfflineAndKeepsTheStartTime) {
    SetProfile(kProfile);
    Start();
    ASSERT_TRUE(Node({"CADASTRADO", kProfile, "STATUS", "Hora_Entrada"}));
    Form->close();
    WaitForCloud();
    const auto *status = Node({"CADASTRADO", kProfile, "STATUS"});
    ASSERT_TRUE(status);
    EXPECT_EQ(status->at("Status"), "Offline");
    EXPECT_TRUE(status->contains("Hora_Entrada"));
    EXPECT_TRUE(status->contains("Hora_Saida"));
    EXPECT_TRUE(status->contains("Data"));
}

TEST_F(FormRadioStartUpTest, CloseWithoutCloudStillCloses) {
    Start();
    Script->SignInError = "Connection refused";
    Script->Answer = [](const std::string &, const Cumulo::TStringDynArray &,
                        const TJSONValue *) -> Cumulo::TOptionalJSON { throw Cumulo::ETransport("refused"); };
    EXPECT_TRUE(Form->close());
    WaitForCloud();
    EXPECT_TRUE(Dialogs.Entries.empty());
}

} // namespace
} // namespace Tunewell::Testing
