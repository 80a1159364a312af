#include "CloudNodes.h"
#include "Cumulo/Helpers.h"
#include "DialogsSeen.h"
#include "LocalCloudSession.h"
#include "ProgramLoop.h"
#include "RecordingDialogs.h"
#include "ScriptedCloudClients.h"
#include "SettingsFaults.h"
#include "app/ui/TunewellApplication.h"
#include "profile/ui/UnitRegister.h"
#include "shared/core/Registro.h"
#include "shared/core/WindowCloudCumuloClients.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace Tunewell {
namespace {

using Cumulo::TJSONValue;
using Json = nlohmann::json;

const QString kRegisteredTitle = QStringLiteral("You\u00B4re Registered - Você está Registrado");
const char *kAdapter = "001A2B3C4D5E";

QString Registration() {
    return LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"));
}

void SetRegistration(const QString &Value) {
    if (Value.isEmpty())
        ExcluirRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), QString());
    else
        GravarRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), Value);
}

QStringList Lines(const QPlainTextEdit *Memo) {
    return Memo->toPlainText().split(QLatin1Char('\n'));
}

class RegisterWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetRegistration(QString());
        TunewellApplication::Instance()->ShowErrorsThrough(&Dialogs);
    }
    void TearDown() override {
        // A restart asked by the test ended the program as far as the cloud client knows.
        Cumulo::TFirebaseHelpers::SetAppTerminated(false);
        TunewellApplication::Instance()->ShowErrorsThrough(nullptr);
        SetRegistration(QString());
    }

    std::unique_ptr<TFormRegister> Open(std::string Adapter = kAdapter) {
        auto Form = std::make_unique<TFormRegister>(Environment, [] { return std::string("42"); });
        Form->AdapterAddress = [Adapter] { return Adapter; };
        Form->show();
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        return Form;
    }

    // Until the window's cloud steps asked so far have ended.
    static void WaitForCloud(TFormRegister &Form) {
        EXPECT_TRUE(QTest::qWaitFor([&Form] { return Form.CloudIdle(); }, 10000));
    }

    static void Fill(TFormRegister &Form) {
        // insert() stands for typing: the test keyboard knows no accented keys.
        Form.EditNome->insert(QStringLiteral("joão"));
        Form.EditSobrenome->insert(QStringLiteral("da silva"));
        Form.EditEmail->insert(QStringLiteral("Joao.Silva@Exemplo.com.br"));
        Form.MaskEdit1->setText(QStringLiteral("01/02/1990"));
        Form.EditPais->insert(QStringLiteral("brasil"));
        Form.EditEstado->insert(QStringLiteral("são paulo"));
    }

    // Types the digits into the emptied birthday field from its start; the focus stays there.
    static void TypeBirthday(TFormRegister &Form, const QString &Digits) {
        Form.MaskEdit1->clear();
        Form.MaskEdit1->setFocus(Qt::TabFocusReason);
        Form.MaskEdit1->setCursorPosition(0);
        QTest::keyClicks(Form.MaskEdit1, Digits);
    }

    std::vector<std::string> &Writes() { return Clients->Script().Writes; }

    Testing::LocalCloudSession Cloud;
    Testing::CloudNodes Nodes{Cloud};
    Testing::RecordingDialogs Dialogs;
    std::shared_ptr<Testing::ScriptedCloudClients> Clients =
        std::make_shared<Testing::ScriptedCloudClients>(std::make_shared<WindowCloudCumuloClients>());
    WindowEnvironment Environment{Dialogs, Clients};
};

TEST_F(RegisterWindowTest, OpensInTheStateOfTheSettingsStore) {
    auto Form = Open();
    EXPECT_TRUE(Form->btSave->isEnabled());
    EXPECT_FALSE(Form->btDelete->isEnabled());
    EXPECT_EQ(Form->Label7->text(), QStringLiteral("Register - Registre-se"));
    EXPECT_EQ(Form->MaskEdit1->displayText(), QStringLiteral("__/__/____"));
    EXPECT_EQ(Form->MaskEdit1Text(), QStringLiteral("  /  /    "));
    EXPECT_FALSE(Form->memRTDB->isVisible());
    EXPECT_EQ(Lines(Form->memRTDB), QStringList{QStringLiteral("memRTDB")});
    EXPECT_EQ(QApplication::focusWidget(), Form->btSair);

    SetRegistration(QStringLiteral("-Nprofile"));
    auto Registered = Open();
    EXPECT_FALSE(Registered->btSave->isEnabled());
    EXPECT_TRUE(Registered->btDelete->isEnabled());
    EXPECT_EQ(Registered->Label7->text(), kRegisteredTitle);
}

TEST_F(RegisterWindowTest, EditsKeepTheirLetterCase) {
    auto Form = Open();
    QTest::keyClicks(Form->EditNome, QStringLiteral("jo"));
    Form->EditNome->insert(QStringLiteral("ão"));
    QTest::keyClicks(Form->EditEmail, QStringLiteral("Ana@X.COM"));
    EXPECT_EQ(Form->EditNome->text(), QStringLiteral("JOÃO"));
    EXPECT_EQ(Form->EditEmail->text(), QStringLiteral("ana@x.com"));
}

TEST_F(RegisterWindowTest, RequiredFieldsAreCheckedInOrder) {
    struct Case {
        QString Nome, Sobrenome, Email, Birthday, Pais, Estado;
        QString Message;
        QLineEdit *TFormRegister::*Field;
    };
    const QString B = QStringLiteral("01/02/1990");
    const std::vector<Case> Cases{
        {"", "", "", "", "", "", "Name! / Nome!", &TFormRegister::EditNome},
        {"A", "", "", "", "", "", "Last Name! / Sobrenome!", &TFormRegister::EditSobrenome},
        {"A", "B", "", "", "", "", "E-mail!", &TFormRegister::EditEmail},
        {"A", "B", "a@b.c", "", "", "", "Country! / Country!", &TFormRegister::EditPais},
        {"A", "B", "a@b.c", "", "BR", "", "Birthday! / Aniversário!", &TFormRegister::MaskEdit1},
        {"A", "B", "a@b.c", B, "BR", "", "State / Estado!", &TFormRegister::EditEstado},
        {"A", "B", "a@.b", B, "BR", "SP", "E-mail!", &TFormRegister::EditEmail},
        {"A", "B", "a b@c.d", B, "BR", "SP", "E-mail!", &TFormRegister::EditEmail},
    };
    for (const auto &Case : Cases) {
        Dialogs.Entries.clear();
        auto Form = Open();
        Form->EditNome->setText(Case.Nome);
        Form->EditSobrenome->setText(Case.Sobrenome);
        Form->EditEmail->setText(Case.Email);
        Form->MaskEdit1->setText(Case.Birthday);
        Form->EditPais->setText(Case.Pais);
        Form->EditEstado->setText(Case.Estado);
        QCoro::waitFor(Form->btSaveClick());
        EXPECT_EQ(Testing::Seen(Dialogs), QStringList{"message: " + Case.Message})
            << Case.Message.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), (*Form).*Case.Field) << Case.Message.toStdString();
        EXPECT_EQ(Form->Cloud().fAuth(), nullptr);
    }
    EXPECT_TRUE(Writes().empty());
}

TEST_F(RegisterWindowTest, LeavingTheBirthdayWithoutAValidDateKeepsTheFocusThere) {
    struct Case {
        const char *Typed;
        const char *Shown; // afterwards
        bool Invalid;
    };
    for (const auto &Case : {Case{"", "__/__/____", true}, Case{"31021990", "__/__/____", true},
                             Case{"1202", "__/__/____", true}, Case{"01021990", "01/02/1990", false}}) {
        Dialogs.Entries.clear();
        auto Form = Open();
        TypeBirthday(*Form, QString::fromLatin1(Case.Typed));
        QTest::keyClick(Form->MaskEdit1, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(Form->MaskEdit1->displayText(), QString::fromLatin1(Case.Shown)) << Case.Typed;
        if (Case.Invalid) {
            EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("message: Data Inválida")})
                << Case.Typed;
            EXPECT_EQ(QApplication::focusWidget(), Form->MaskEdit1) << Case.Typed;
        } else {
            EXPECT_TRUE(Testing::Seen(Dialogs).isEmpty()) << Case.Typed;
            EXPECT_EQ(QApplication::focusWidget(), Form->EditPais) << Case.Typed;
        }
    }
}

TEST_F(RegisterWindowTest, TheBirthdayIsTypedAndCheckedWithTheLocalesSeparator) {
    for (const char Separator : {'.', '-', '/'}) {
        const QString Sep(QChar::fromLatin1(Separator));
        SCOPED_TRACE(Sep.toStdString());
        Dialogs.Entries.clear();
        Writes().clear();
        auto Form = std::make_unique<TFormRegister>(Environment, [] { return std::string("42"); });
        Form->AdapterAddress = [] { return std::string(); };
        Form->DateFormat = [Separator] {
            return TShortDateFormat{TShortDateFormat::DayMonthYear, QChar(Separator)};
        };
        Form->show();
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        EXPECT_EQ(Form->MaskEdit1->displayText(), "__" + Sep + "__" + Sep + "____");
        Fill(*Form);
        TypeBirthday(*Form, QStringLiteral("25121990"));
        QTest::keyClick(Form->MaskEdit1, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(Form->MaskEdit1->displayText(), "25" + Sep + "12" + Sep + "1990");
        QTest::mouseClick(Form->btSave, Qt::LeftButton);
        WaitForCloud(*Form);
        EXPECT_TRUE(Testing::Seen(Dialogs).isEmpty()) << Testing::Seen(Dialogs).join(", ").toStdString();
        const auto Id = Registration().toStdString();
        ASSERT_FALSE(Id.empty());
        EXPECT_EQ(Nodes.Get({"CADASTRADO", Id, "CAD_ANIVERSARIO"}),
                  ("25" + Sep + "12" + Sep + "1990").toStdString());
        SetRegistration(QString());
    }
}

TEST_F(RegisterWindowTest, SaveRightAfterTypingSeesTheCheckedBirthday) {
    auto Form = Open();
    Fill(*Form);
    TypeBirthday(*Form, QStringLiteral("1205"));
    // The click moves the focus out of the field and presses Save at once.
    QTest::mouseClick(Form->btSave, Qt::LeftButton);
    WaitForCloud(*Form);
    QApplication::processEvents();
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("message: Data Inválida")});
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Registration(), QString());
    EXPECT_EQ(QApplication::focusWidget(), Form->MaskEdit1);
}

TEST_F(RegisterWindowTest, SavingCreatesTheProfileAndMovesTheMachineRecord) {
    Nodes.Put({"NAO_CADASTRADO", kAdapter}, TJSONValue::parse(R"({"Nome":"pc","Status":"Online"})"));
    auto Form = Open();
    Fill(*Form);
    QCoro::waitFor(Form->btSaveClick());

    const auto Id = Registration().toStdString();
    ASSERT_FALSE(Id.empty());
    ASSERT_EQ(Writes().size(), 4u);
    const auto Posted = TJSONValue::parse(Writes()[0].substr(Writes()[0].find('{')));
    std::vector<std::string> Members;
    for (const auto &[Name, Value] : Posted.items())
        Members.push_back(Name);
    EXPECT_EQ(Members, (std::vector<std::string>{"CAD_NOME", "CAD_SOBRENOME", "CAD_E-MAIL", "CAD_ANIVERSARIO",
                                                 "CAD_PAIS", "CAD_ESTADO", "CAD_DATA"}));
    EXPECT_EQ(Writes()[3], "rmDELETE NAO_CADASTRADO/001A2B3C4D5E");

    const auto Profile = Nodes.Get({"CADASTRADO", Id});
    EXPECT_EQ(Profile["CAD_NOME"], "JOÃO");
    EXPECT_EQ(Profile["CAD_SOBRENOME"], "DA SILVA");
    EXPECT_EQ(Profile["CAD_E-MAIL"], "joao.silva@exemplo.com.br");
    EXPECT_EQ(Profile["CAD_ANIVERSARIO"], "01/02/1990");
    EXPECT_EQ(Profile["CAD_PAIS"], "BRASIL");
    EXPECT_EQ(Profile["CAD_ESTADO"], "SÃO PAULO");
    EXPECT_EQ(Profile["LAST"], Json::parse(R"({"Serie":"42"})"));
    EXPECT_EQ(Profile["FAVORITOS"], Json::parse(R"({"11111":"2"})"));
    EXPECT_EQ(Nodes.Get({"NAO_CADASTRADO", kAdapter}), Json(nullptr));

    EXPECT_FALSE(Form->btSave->isEnabled());
    EXPECT_TRUE(Form->btDelete->isEnabled());
    EXPECT_EQ(Form->Label7->text(), kRegisteredTitle);
    EXPECT_EQ(Lines(Form->memRTDB),
              (QStringList{"memRTDB", QStringLiteral("name: \"%1\"").arg(QString::fromStdString(Id)),
                           "Serie: \"42\"", "11111: \"2\"", "Delete NAO_CADASTRADO/001A2B3C4D5E passed"}));

    // Closing right away records the presence under the new profile without a second sign-in.
    QCoro::waitFor(Form->btSairClick());
    EXPECT_EQ(Clients->Script().AuthenticationsCreated, 1);
    EXPECT_EQ(Nodes.Get({"CADASTRADO", Id, "STATUS", "Status"}), "Online");
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(Testing::Seen(Dialogs).isEmpty()) << Testing::Seen(Dialogs).join(", ").toStdString();

    auto Reopened = Open();
    EXPECT_EQ(Reopened->Label7->text(), kRegisteredTitle);
    EXPECT_FALSE(Reopened->btSave->isEnabled());
}

TEST_F(RegisterWindowTest, AProfileIdThatCannotBeStoredIsShownAndEndsTheSave) {
    Nodes.Put({"NAO_CADASTRADO", kAdapter}, TJSONValue::parse(R"({"Status":"Online"})"));
    auto Form = Open();
    Fill(*Form);
    {
        Testing::UnwritableSettingsStore Unwritable;
        QTest::mouseClick(Form->btSave, Qt::LeftButton);
        WaitForCloud(*Form);
    }
    EXPECT_EQ(Testing::Seen(Dialogs),
              QStringList{QStringLiteral("error: The settings store Firebase cannot be written")});
    EXPECT_EQ(Registration(), QString());
    EXPECT_TRUE(Form->btSave->isEnabled());
    EXPECT_EQ(Form->Label7->text(), QStringLiteral("Register - Registre-se"));
    // The profile record alone reached the cloud: no LAST, no FAVORITOS, the machine record kept.
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_TRUE(Writes()[0].starts_with("rmPOST CADASTRADO {")) << Writes()[0];
    EXPECT_NE(Nodes.Get({"NAO_CADASTRADO", kAdapter}), Json(nullptr));
}

TEST_F(RegisterWindowTest, SettingsErrorsOfTheHandlersAreShownAndClosingStillCloses) {
    const QString Unreadable = QStringLiteral("error: Invalid data type for 'Registrado'");
    SetRegistration(QStringLiteral("-Nprofile"));
    auto Form = Open();
    Testing::StoreProfileIdOfAnotherType();
    QTest::mouseClick(Form->btDelete, Qt::LeftButton);
    WaitForCloud(*Form);
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{Unreadable});

    Dialogs.Entries.clear();
    auto Reopened = Open();
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{Unreadable});

    Dialogs.Entries.clear();
    QTest::mouseClick(Reopened->btSair, Qt::LeftButton);
    WaitForCloud(*Reopened);
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{Unreadable});
    EXPECT_FALSE(Reopened->isVisible());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(RegisterWindowTest, BlankFieldsAreStoredAsTypedAndAnEmptyAdapterSkipsTheMachineRecord) {
    Nodes.Put({"NAO_CADASTRADO", kAdapter}, TJSONValue::parse(R"({"Status":"Online"})"));
    auto Form = Open("");
    Form->EditNome->setText(QStringLiteral("   "));
    Form->EditSobrenome->setText(QStringLiteral("B"));
    Form->EditEmail->setText(QStringLiteral("  ana@exemplo.com  "));
    Form->MaskEdit1->setText(QStringLiteral("01/02/1990"));
    Form->EditPais->setText(QStringLiteral("BR"));
    Form->EditEstado->setText(QStringLiteral(" "));
    QCoro::waitFor(Form->btSaveClick());

    const auto Id = Registration().toStdString();
    ASSERT_FALSE(Id.empty()) << Testing::Seen(Dialogs).join(", ").toStdString();
    const auto Profile = Nodes.Get({"CADASTRADO", Id});
    EXPECT_EQ(Profile["CAD_NOME"], "   ");
    EXPECT_EQ(Profile["CAD_E-MAIL"], "  ana@exemplo.com  ");
    EXPECT_EQ(Profile["CAD_ESTADO"], " ");
    EXPECT_EQ(Writes().size(), 3u);
    EXPECT_NE(Nodes.Get({"NAO_CADASTRADO", kAdapter}), Json(nullptr));
}

TEST_F(RegisterWindowTest, ACreationRefusedOnceKeepsTheKeyOfTheSecondPress) {
    auto Form = Open();
    Fill(*Form);
    // An error text with quotes and "}," must not pass for the answer that carries the key.
    Clients->Script().RefusalMessage = R"(refused: {"error":"no"},{"x":"y"})";
    Clients->Refuse(Cumulo::rmPOST);
    QCoro::waitFor(Form->btSaveClick());
    EXPECT_EQ(Registration(), QString());
    EXPECT_TRUE(Form->btSave->isEnabled());
    EXPECT_TRUE(Writes().empty());

    QCoro::waitFor(Form->btSaveClick());
    const auto Profiles = Nodes.Get({"CADASTRADO"});
    ASSERT_TRUE(Profiles.is_object());
    ASSERT_EQ(Profiles.size(), 1u);
    EXPECT_EQ(Registration().toStdString(), Profiles.begin().key());
    EXPECT_EQ(Lines(Form->memRTDB).at(1).left(23), QStringLiteral("Post CADASTRADO failed:"));
}

TEST_F(RegisterWindowTest, AFailedSignInSaysSoAndSendsNothing) {
    Environment.CloudSettings.Password = "wrong-one";
    auto Form = Open();
    Fill(*Form);
    QCoro::waitFor(Form->btSaveClick());
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("message: Algo deu errado!")});
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Registration(), QString());
}

TEST_F(RegisterWindowTest, DeletingMarksTheProfileForgetsItAndRestarts) {
    const auto Profile = TJSONValue::parse(
        R"({"CAD_NOME":"A","LAST":{"Serie":"42"},"FAVORITOS":{"11111":"2","12":"1"},"STATUS":{"Status":"Online"}})");
    Nodes.Put({"CADASTRADO", "-Nprofile"}, Profile);
    SetRegistration(QStringLiteral("-Nprofile"));
    auto Form = Open();
    Testing::RunAsTheProgram([&] { QCoro::waitFor(Form->btDeleteClick()); });

    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_TRUE(Writes()[0].starts_with(R"(rmPUT CADASTRADO/-Nprofile/EXCLUIDO {"EXC_HORA":")"))
        << Writes()[0];
    EXPECT_NE(Writes()[0].find(R"(","EXC_DATA":")"), std::string::npos) << Writes()[0];
    auto Expected = Testing::Unordered(Profile);
    const auto After = Nodes.Get({"CADASTRADO", "-Nprofile"});
    ASSERT_TRUE(After.contains("EXCLUIDO")) << After.dump();
    Expected["EXCLUIDO"] = After["EXCLUIDO"];
    EXPECT_EQ(After, Expected);
    EXPECT_EQ(Registration(), QString());
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("restart")});
    EXPECT_TRUE(Form->btSave->isEnabled());
    EXPECT_FALSE(Form->btDelete->isEnabled());
    EXPECT_EQ(Form->Label7->text(), QStringLiteral("Register / Registre-se"));
}

TEST_F(RegisterWindowTest, DeletingWithoutAProfileLeftWritesNothingAndStillRestarts) {
    Nodes.Put({"CADASTRADO", "-Nprofile"}, TJSONValue::parse(R"({"CAD_NOME":"A"})"));
    SetRegistration(QStringLiteral("-Nprofile"));
    auto Form = Open();
    SetRegistration(QString()); // gone while the window was open
    Testing::RunAsTheProgram([&] { QCoro::waitFor(Form->btDeleteClick()); });
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Clients->Script().AuthenticationsCreated, 0);
    EXPECT_EQ(Nodes.Get({"CADASTRADO", "-Nprofile"}), Json::parse(R"({"CAD_NOME":"A"})"));
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("restart")});
    EXPECT_TRUE(Form->btSave->isEnabled());
    EXPECT_FALSE(Form->btDelete->isEnabled());
}

TEST_F(RegisterWindowTest, DeletingWithTheCloudDownStillForgetsAndRestarts) {
    Nodes.Put({"CADASTRADO", "-Nprofile"}, TJSONValue::parse(R"({"CAD_NOME":"A"})"));
    SetRegistration(QStringLiteral("-Nprofile"));
    auto Form = Open();
    Cloud.Stop();
    Testing::RunAsTheProgram([&] { QCoro::waitFor(Form->btDeleteClick()); });
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Lines(Form->memRTDB), QStringList{QStringLiteral("memRTDB")});
    EXPECT_EQ(Registration(), QString());
    EXPECT_EQ(Testing::Seen(Dialogs), QStringList{QStringLiteral("restart")});
}

TEST_F(RegisterWindowTest, EveryWayOfClosingRecordsThePresenceOnce) {
    struct Case {
        const char *Name;
        std::function<void(TFormRegister &)> Close;
    };
    const std::vector<Case> Cases{
        {"close button", [](TFormRegister &Form) { QTest::mouseClick(Form.btSair, Qt::LeftButton); }},
        {"Esc", [](TFormRegister &Form) { QTest::keyClick(&Form, Qt::Key_Escape); }},
        {"window manager", [](TFormRegister &Form) { Form.close(); }},
    };
    SetRegistration(QStringLiteral("-Nprofile"));
    for (const auto &Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Nodes.Put({"CADASTRADO", "-Nprofile"}, TJSONValue::parse(R"({"CAD_NOME":"A"})"));
        Writes().clear();
        auto Form = Open();
        Case.Close(*Form);
        WaitForCloud(*Form);
        EXPECT_FALSE(Form->isVisible());
        EXPECT_EQ(Nodes.Get({"CADASTRADO", "-Nprofile", "STATUS", "Status"}), "Online");
        EXPECT_EQ(Writes().size(), 1u);
    }
}

TEST_F(RegisterWindowTest, ClosingUnregisteredMakesNoCloudCall) {
    auto Form = Open();
    QTest::mouseClick(Form->btSair, Qt::LeftButton);
    WaitForCloud(*Form);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Clients->Script().AuthenticationsCreated, 0);
    EXPECT_TRUE(Writes().empty());
}

} // namespace
} // namespace Tunewell
