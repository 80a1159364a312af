// The main window's kept catalogue against a scripted cloud that fails on demand.
#include "FormRadioFixture.h"
#include "app/core/KeptCatalogue.h"
#include "app/ui/StatusNotice.h"
#include "shared/core/TimeText.h"
#include "shared/core/WindowCloud.h"

#include <Cumulo/CertificateProblem.h>
#include <Cumulo/Exceptions.h>
#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <ctime>

namespace Tunewell::Testing {
namespace {

using Cumulo::TJSONValue;
using Cumulo::TOptionalJSON;
using Cumulo::TStringDynArray;
using Kind = RecordingDialogs::Kind;

// Fails every database call whose path starts or ends with Segment (every call for an empty
// one); the others are answered from the script's tree.
void FailReads(FakeCloudScript &Script, const std::string &Segment, std::function<void()> Throw) {
    Script.Answer = [&Script, Segment, Throw](const std::string &Method, const TStringDynArray &Path,
                                              const TJSONValue *) -> TOptionalJSON {
        if (Segment.empty() || (!Path.empty() && (Path.front() == Segment || Path.back() == Segment)))
            Throw();
        if (Method != "GET")
            return TJSONValue::object();
        const TJSONValue *node = FindNode(Script.Tree, Path);
        return node ? *node : TJSONValue(nullptr);
    };
}

void Unreachable() {
    throw Cumulo::ETransport("Connection refused");
}

class FormRadioKeptTest : public FormRadioFixture {
protected:
    void SetUp() override {
        FormRadioFixture::SetUp();
        Dialogs = RecordingDialogs{};
        Kept = std::make_shared<KeptCatalogue>(Folder.filePath(QStringLiteral("catalogue.kept")));
    }

    // One run against the whole cloud, kept; then the cloud's catalogue loses a station, so that
    // what a later run shows tells the kept catalogue from the cloud's.
    void KeepOnce() {
        Start();
        WaitForKept(1);
        Form.reset();
        Script->Tree["ESTACOES"].erase("-Station03ccc");
        Script->Calls.clear();
    }

    QString NoticeLine() const { return Form->CloudNotice()->Line(); }

    QTemporaryDir Folder;
};

TEST_F(FormRadioKeptTest, AnUnreachableCloudShowsTheKeptCatalogueWhereverItFails) {
    struct Case {
        const char *Where;
        std::function<void(FakeCloudScript &)> Break;
    };
    const std::vector<Case> cases{
        {"sign-in",
         [](FakeCloudScript &S) {
             S.SignInError = "Connection refused";
             FailReads(S, "", Unreachable);
         }},
        {"VERSOES", [](FakeCloudScript &S) { FailReads(S, "VERSOES", Unreachable); }},
        // After the cloud's own catalogue was read: the kept one, with its nodes, replaces it.
        {"FAVORITOS", [](FakeCloudScript &S) { FailReads(S, "FAVORITOS", Unreachable); }},
    };
    for (const auto &c : cases) {
        SetUp();
        SetProfile(kProfile);
        KeepOnce();
        c.Break(*Script);
        auto &form = Start();
        EXPECT_TRUE(Dialogs.Entries.empty()) << c.Where;
        EXPECT_EQ(form.cdsRadios.RowCount(), 3) << c.Where;
        EXPECT_EQ(Player->Url, "http://127.0.0.1:1/two") << c.Where;
        EXPECT_EQ(Player->Played.last(), "http://127.0.0.1:1/two") << c.Where;
        EXPECT_EQ(form.cdsRadios.CurrentRow(), RowOfSerie("15")) << c.Where;
        EXPECT_EQ(form.cdsRadios.DisplayText(RowOfSerie("12"), fpFavoritos), "1") << c.Where;
        EXPECT_FALSE(Player->ContextMenu) << c.Where;
        EXPECT_TRUE(CallsTo("STATUS").empty()) << c.Where;
        const QString date = QString::fromStdString(DateText(std::time(nullptr)));
        EXPECT_TRUE(NoticeLine().startsWith("Catalogue of " + date)) << c.Where << NoticeLine().toStdString();
        EXPECT_TRUE(NoticeLine().contains(QString::fromUtf8("Cat\u00E1logo de ") + date)) << c.Where;
        EXPECT_TRUE(form.CloudNotice()->toolTip().contains("Connection refused")) << c.Where;
        TearDown();
    }
}

TEST_F(FormRadioKeptTest, TheCloudAnsweringAgainReplacesTheKeptCatalogue) {
    SetProfile(kProfile);
    KeepOnce();
    FailReads(*Script, "", Unreachable);
    auto &form = Start();
    ASSERT_EQ(form.cdsRadios.RowCount(), 3);

    // Writes made meanwhile fail and are logged as ever.
    ClickCell(RowOfSerie("20"), 1);
    WaitForCloud();
    EXPECT_TRUE(
        form.memRTDB->toPlainText().contains("Post CADASTRADO/-Prof1/LAST failed: Connection refused"));

    Script->Answer = nullptr;
    RunAndWaitForStartUp([&] { form.About1->trigger(); });
    EXPECT_EQ(form.cdsRadios.RowCount(), 2);
    EXPECT_EQ(RowOfSerie("20"), -1);
    EXPECT_TRUE(NoticeLine().isEmpty());
    EXPECT_TRUE(form.CloudNotice()->toolTip().isEmpty());
    WaitForKept(1);
    EXPECT_EQ(Kept->Read().Copy.Rows.size(), 2u);
}

TEST_F(FormRadioKeptTest, NothingUsableKeptIsToldWithWhereTheCloudWasSought) {
    struct Case {
        const char *What;
        std::function<void(const QString &Path)> Prepare;
        const char *Says;
    };
    const std::vector<Case> cases{
        {"nothing kept", [](const QString &Path) { QFile::remove(Path); }, "No catalogue has been kept"},
        {"a damaged file",
         [](const QString &Path) {
             QFile file(Path);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.seek(file.size() - 1);
             file.write("?");
         },
         "was set aside (The kept catalogue is damaged)"},
    };
    for (const auto &c : cases) {
        SetUp();
        SetProfile(kProfile);
        KeepOnce();
        c.Prepare(Kept->FilePath());
        Script->SignInError = "Connection refused";
        FailReads(*Script, "", Unreachable);
        auto &form = Start();
        // One report: the show handler's read leaves it to the activation that follows.
        const auto errors = Dialogs.Texts(Kind::Error);
        ASSERT_EQ(errors.size(), 1u) << c.What;
        EXPECT_TRUE(errors[0].contains("The cloud could not be reached at " +
                                       QString::fromStdString(WindowCloud::IdentityHost()) +
                                       ": Connection refused"))
            << c.What;
        EXPECT_TRUE(errors[0].contains(c.Says)) << c.What << errors[0].toStdString();
        EXPECT_TRUE(errors[0].contains(QString::fromUtf8("N\u00E3o foi poss\u00EDvel acessar a nuvem")))
            << c.What;
        EXPECT_EQ(form.cdsRadios.RowCount(), 0) << c.What;
        EXPECT_TRUE(Player->Played.isEmpty()) << c.What;
        EXPECT_TRUE(NoticeLine().startsWith("Cloud unreachable")) << c.What;
        TearDown();
    }
}

// A cloud whose certificate is refused is as unreachable as one that does not answer, and the
// user is told which it was, where and why, in both languages.
TEST_F(FormRadioKeptTest, ARefusedCertificateIsToldWithItsHostAndReasonInBothLanguages) {
    using Cumulo::TCertificateProblem;
    struct Case {
        TCertificateProblem Problem;
        bool KeptBefore;
        const char *English;
        const char *Portuguese;
    };
    const Case cases[] = {
        {TCertificateProblem::UnknownAuthority, true,
         "is signed by an authority this computer does not trust",
         "foi assinado por uma autoridade em que este computador n\u00E3o confia"},
        {TCertificateProblem::WrongHost, true, "is made out for another address",
         "foi emitido para outro endere\u00E7o"},
        {TCertificateProblem::Expired, true, "has expired or is not valid yet",
         "expirou ou ainda n\u00E3o \u00E9 v\u00E1lido"},
        {TCertificateProblem::Expired, false, "has expired or is not valid yet",
         "expirou ou ainda n\u00E3o \u00E9 v\u00E1lido"},
    };
    for (const Case &c : cases) {
        SetUp();
        SetProfile(kProfile);
        KeepOnce();
        if (!c.KeptBefore)
            QFile::remove(Kept->FilePath());
        const auto refuse = [&c] {
            throw Cumulo::ECertificate(c.Problem, "cloud.example:8443",
                                       "SSL certificate problem (https://cloud.example:8443/ESTACOES.json)");
        };
        Script->SignInThrows = refuse;
        FailReads(*Script, "", refuse);
        auto &form = Start();
        const auto errors = Dialogs.Texts(Kind::Error);
        const QString told = c.KeptBefore     ? form.CloudNotice()->toolTip()
                             : errors.empty() ? QString()
                                              : errors[0];
        EXPECT_EQ(form.cdsRadios.RowCount(), c.KeptBefore ? 3 : 0) << c.English;
        EXPECT_EQ(Dialogs.Entries.size(), c.KeptBefore ? 0u : 1u) << c.English;
        EXPECT_TRUE(told.contains(
            QString("The cloud at cloud.example:8443 could not be trusted: its certificate ") + c.English))
            << told.toStdString();
        EXPECT_TRUE(told.contains("SSL certificate problem")) << told.toStdString();
        EXPECT_TRUE(told.contains(QString::fromUtf8("A nuvem em cloud.example:8443 n\u00E3o \u00E9 "
                                                    "confi\u00E1vel: o certificado dela ") +
                                  QString::fromUtf8(c.Portuguese)))
            << told.toStdString();
        EXPECT_FALSE(told.contains("Check the network connection")) << told.toStdString();
        // The status line names the refusal too, not an unreachable cloud.
        EXPECT_TRUE(NoticeLine().contains("cloud certificate not trusted", Qt::CaseInsensitive))
            << NoticeLine().toStdString();
        EXPECT_TRUE(NoticeLine().contains(QString::fromUtf8("ertificado da nuvem n\u00E3o confi\u00E1vel")))
            << NoticeLine().toStdString();
        EXPECT_FALSE(NoticeLine().contains("unreachable")) << NoticeLine().toStdString();
        TearDown();
    }
}

TEST_F(FormRadioKeptTest, RefusalsAreReportedAndNeverAnsweredFromTheKeptCopy) {
    SetProfile(kProfile);
    KeepOnce();
    FailReads(*Script, "VERSOES", [] { throw Cumulo::EFirebaseResponse("Permission denied"); });
    auto &form = Start();
    const auto errors = Dialogs.Texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains("could not give VERSOES: Permission denied"));
    // The kept catalogue shown at the start stays, and the status line says the cloud refused.
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
    EXPECT_TRUE(NoticeLine().contains("refused by the cloud")) << NoticeLine().toStdString();
    EXPECT_EQ(form.CloudNotice()->Explanation(), errors[0]);
}

TEST_F(FormRadioKeptTest, AnotherProfilesLastStationIsNotPlayed) {
    SetProfile(kProfile);
    KeepOnce();
    SetProfile("-Other");
    Script->SignInError = "Connection refused";
    FailReads(*Script, "", Unreachable);
    auto &form = Start();
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
    EXPECT_TRUE(Player->Played.isEmpty());
    EXPECT_TRUE(form.last_radio.empty());
    // The rows carry the catalogue's own marks, not the first profile's stars.
    EXPECT_EQ(form.cdsRadios.DisplayText(RowOfSerie("12"), fpFavoritos), "2");
    EXPECT_EQ(form.cdsRadios.DisplayText(RowOfSerie("20"), fpFavoritos), "1");
}

TEST_F(FormRadioKeptTest, AFailedKeepIsLoggedAndTheWindowGoesOn) {
    QFile blocker(Folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    Kept = std::make_shared<KeptCatalogue>(Folder.filePath(QStringLiteral("file/catalogue.kept")));
    auto &form = Start();
    WaitForKept(1);
    EXPECT_TRUE(form.memRTDB->toPlainText().contains("Keep catalogue failed: Cannot create the folder"));
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
    EXPECT_TRUE(Dialogs.Entries.empty());
}

} // namespace
} // namespace Tunewell::Testing
