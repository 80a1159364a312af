#include "CloudNodes.h"
#include "Cumulo/Types.h"
#include "DialogsSeen.h"
#include "LocalCloudSession.h"
#include "RecordingDialogs.h"
#include "ScriptedCloudClients.h"
#include "Tunewell/BuildValues.h"
#include "help/ui/UnitHelp.h"
#include "shared/core/WindowCloudCumuloClients.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace Tunewell {
namespace {

using Cumulo::TJSONValue;
using Testing::CloudNodes;
using Testing::Unordered;
using Json = nlohmann::json;

QStringList Lines(const QPlainTextEdit *Memo) {
    return Memo->toPlainText().split(QLatin1Char('\n'));
}

std::vector<std::string> Keys(const Json &Node) {
    std::vector<std::string> Keys;
    if (Node.is_object())
        for (const auto &[Key, Value] : Node.items())
            Keys.push_back(Key);
    return Keys;
}

const TJSONValue kOldCatalogue = TJSONValue::parse(
    R"({"-OLD0000000000000001":{"num":"1","url":"http://old/1","nome":"Old One","estilo":"Rock",
        "localizacao":"SP","qualidade":"128","favorito":"2","serie":"7"},
        "-OLD0000000000000002":{"num":"2","url":"http://old/2","nome":"Old Two","estilo":"Jazz",
        "localizacao":"RJ","qualidade":"64","favorito":"2","serie":"8"}})");

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir::setCurrent(Folder.path()));
        Nodes.Put({"ESTACOES"}, kOldCatalogue);
    }

    void WriteList(const QByteArray &Bytes) {
        QFile File(QStringLiteral("lista_radios.txt"));
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Bytes);
    }

    Testing::LocalCloudSession Cloud;
    CloudNodes Nodes{Cloud};
    QTemporaryDir Folder;
    Testing::RecordingDialogs Dialogs;
    std::shared_ptr<Testing::ScriptedCloudClients> Clients =
        std::make_shared<Testing::ScriptedCloudClients>(std::make_shared<WindowCloudCumuloClients>());
    WindowEnvironment Environment{Dialogs, Clients};
    TFormHelp Form{Environment};
};

TEST_F(HelpWindowTest, ShowsTheHelpTextAndHidesThePublishingPanel) {
    Form.show();
    const auto Text = Form.Memo1->toPlainText();
    EXPECT_TRUE(Text.startsWith(QStringLiteral("Português / English:"))) << Text.left(40).toStdString();
    EXPECT_GT(Text.indexOf(QStringLiteral("\nEnglish:")), 0);
    EXPECT_FALSE(Form.PanelPublish->isVisible());
    EXPECT_EQ(Form.BitBtn1->text(), QStringLiteral("    Close"));
    EXPECT_EQ(Form.BtListaRadios->text(), QStringLiteral("Envia Lista de Rádios "));
    EXPECT_EQ(Form.btAlterar->text(), QStringLiteral("Versao"));
    EXPECT_EQ(Lines(Form.memRTDB), QStringList{QStringLiteral("memRTDB")});
    EXPECT_EQ(Form.size(), QSize(717, 346));
    EXPECT_TRUE(Form.windowFlags() & Qt::FramelessWindowHint);

    // What is typed into the help text lives only as long as the window.
    QTest::keyClicks(Form.Memo1, QStringLiteral("scribble"));
    EXPECT_TRUE(Form.Memo1->toPlainText().contains(QStringLiteral("scribble")));
    TFormHelp Again(Environment);
    EXPECT_FALSE(Again.Memo1->toPlainText().contains(QStringLiteral("scribble")));

    QTest::mouseClick(Form.BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(Form.isVisible());
}

// Each language on its own tells where the one setting lives and how to reach the maker, and
// neither names a developer's tool.
TEST_F(HelpWindowTest, EachLanguageTellsWhereTheSettingLivesAndHowToReachTheMaker) {
    const auto Text = Form.Memo1->toPlainText();
    const auto English = Text.indexOf(QStringLiteral("\nEnglish:"));
    ASSERT_GT(English, 0);
    const auto SettingsFile = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                              QStringLiteral("/Firebase.ini");
    for (const auto &Half : {Text.left(English), Text.mid(English)}) {
        for (const auto &Needed : {SettingsFile, QString::fromLatin1(BuildValues::kMakerSite),
                                   QString::fromLatin1(BuildValues::kMakerContact)})
            EXPECT_TRUE(Half.contains(Needed)) << Needed.toStdString() << " missing from:\n"
                                               << Half.toStdString();
        EXPECT_FALSE(Half.contains(QLatin1Char('{'))) << Half.toStdString();
        EXPECT_FALSE(Half.contains(QStringLiteral("scripts/"))) << Half.toStdString();
    }
}

TEST_F(HelpWindowTest, VersionIsMergedKeepingOtherMembers) {
    Nodes.Put({"VERSOES"}, TJSONValue::parse(R"({"Software":"2.2","Url":"http://old","Notas":"keep"})"));
    Form.EditVersao->setText(QStringLiteral("2.3"));
    Form.EditUrl->setText(QStringLiteral("https://tunewell.example.org/get/2.3"));
    QCoro::waitFor(Form.btAlterarClick());
    EXPECT_EQ(
        Nodes.Get({"VERSOES"}),
        Json::parse(R"({"Software":"2.3","Url":"https://tunewell.example.org/get/2.3","Notas":"keep"})"));
    EXPECT_EQ(Lines(Form.memRTDB),
              (QStringList{QStringLiteral("memRTDB"), QStringLiteral("Software: \"2.3\""),
                           QStringLiteral(R"(Url: "https:\/\/tunewell.example.org\/get\/2.3")")}));
    EXPECT_TRUE(Testing::Seen(Dialogs).isEmpty()) << Testing::Seen(Dialogs).join(", ").toStdString();
}

TEST_F(HelpWindowTest, VersionWithAFailedSignInSaysSoAndWritesNothing) {
    Nodes.Put({"VERSOES"}, TJSONValue::parse(R"({"Software":"2.2","Url":"http://old"})"));
    Environment.CloudSettings.Password = "wrong-one";
    TFormHelp Refused(Environment);
    Refused.EditVersao->setText(QStringLiteral("9.9"));
    QCoro::waitFor(Refused.btAlterarClick());
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("message: Algo deu errado!")});
    EXPECT_EQ(Nodes.Get({"VERSOES"})["Software"], "2.2");
}

TEST_F(HelpWindowTest, CatalogueIsReplacedWholeInLineOrderAndLoggedPerStation) {
    WriteList("\"http://a/1|Alpha|Rock|SP|128|2|11\"\r\n"
              "\r\n"
              "\"http://c/3|R\xE1"
              "dio Gama|Pop|MG|32|1|13\"\r\n"); // Windows-1252
    QCoro::waitFor(Form.BtListaRadiosClick());
    EXPECT_TRUE(Testing::Seen(Dialogs).isEmpty()) << Testing::Seen(Dialogs).join(", ").toStdString();

    const auto Catalogue = Nodes.Get({"ESTACOES"});
    const auto StationKeys = Keys(Catalogue);
    ASSERT_EQ(StationKeys.size(), 3u) << Catalogue.dump();
    EXPECT_EQ(Catalogue[StationKeys[0]],
              Json::parse(R"({"num":"1","url":"http://a/1","nome":"Alpha","estilo":"Rock","localizacao":"SP",
                                   "qualidade":"128","favorito":"2","serie":"11"})"));
    EXPECT_EQ(Catalogue[StationKeys[1]],
              Json::parse(R"({"num":"2","url":"","nome":"","estilo":"","localizacao":"","qualidade":"",
                                   "favorito":"","serie":""})"));
    EXPECT_EQ(Catalogue[StationKeys[2]]["nome"], "Rádio Gama");
    EXPECT_EQ(Catalogue[StationKeys[2]]["num"], "3");

    QStringList Expected;
    for (const auto &Key : StationKeys)
        Expected << QStringLiteral("name: \"%1\"").arg(QString::fromStdString(Key));
    EXPECT_EQ(Lines(Form.memRTDB), Expected);

    // A second click in the same opening is already signed in, and replaces the catalogue again.
    WriteList("\"http://z|Zeta|Rock|SP|128|2|99\"");
    QCoro::waitFor(Form.BtListaRadiosClick());
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("message: esta conectado")});
    const auto Second = Nodes.Get({"ESTACOES"});
    ASSERT_EQ(Keys(Second).size(), 1u) << Second.dump();
    EXPECT_EQ(Second.begin().value()["nome"], "Zeta");
    EXPECT_EQ(Second.begin().value()["num"], "1");
}

TEST_F(HelpWindowTest, AnEmptyListEmptiesTheCatalogue) {
    WriteList("");
    QCoro::waitFor(Form.BtListaRadiosClick());
    EXPECT_EQ(Nodes.Get({"ESTACOES"}), Json(nullptr));
    EXPECT_EQ(Lines(Form.memRTDB), QStringList{QString()});
}

TEST_F(HelpWindowTest, AMissingListReportsTheSystemsErrorAndChangesNothing) {
    QCoro::waitFor(Form.BtListaRadiosClick());
    EXPECT_EQ(Testing::Seen(Dialogs),
              QStringList{QStringLiteral("error: ") + QString::fromLocal8Bit(std::strerror(ENOENT))});
    EXPECT_EQ(Form.Cloud().fAuth(), nullptr); // not even signed in
    EXPECT_EQ(Nodes.Get({"ESTACOES"}), Unordered(kOldCatalogue));
    EXPECT_EQ(Lines(Form.memRTDB), QStringList{QStringLiteral("memRTDB")});
}

TEST_F(HelpWindowTest, ARefusedWriteLeavesTheOldCatalogueWhole) {
    WriteList("\"http://a/1|Alpha|Rock|SP|128|2|11\"\n\"http://b/2|Beta|Jazz|RJ|64|2|12\"\n");
    Clients->Refuse(Cumulo::rmPUT);
    QCoro::waitFor(Form.BtListaRadiosClick());
    EXPECT_EQ(Nodes.Get({"ESTACOES"}), Unordered(kOldCatalogue));
    EXPECT_EQ(Lines(Form.memRTDB), QStringList{QStringLiteral("Post ESTACOES failed: Permission denied")});
}

TEST_F(HelpWindowTest, AFailedSignInLeavesTheOldCatalogueAndAsksToConnect) {
    WriteList("\"http://a/1|Alpha|Rock|SP|128|2|11\"\n");
    Environment.CloudSettings.Password = "wrong-one";
    TFormHelp Refused(Environment);
    QCoro::waitFor(Refused.BtListaRadiosClick());
    EXPECT_EQ(Nodes.Get({"ESTACOES"}), Unordered(kOldCatalogue));
    EXPECT_EQ(Lines(Refused.memRTDB),
              (QStringList{QStringLiteral("memRTDB"), QStringLiteral("Por favor, conecte-se primeiro!")}));
}

} // namespace
} // namespace Tunewell
