#include "profile/core/Birthday.h"
#include "profile/core/LogCut.h"
#include "profile/core/ValidaEMail.h"
#include "profile/ui/ProfileLog.h"
#include "profile/ui/UnitRegister.h"
#include "shared/core/Registro.h"
#include "shared/core/TimeText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <ctime>

namespace Tunewell {

namespace {

Cumulo::TJSONValue ProfileRecord(const TFormRegister &Form) {
    Cumulo::TJSONValue Record = Cumulo::TJSONValue::object();
    Record["CAD_NOME"] = Form.EditNome->text().toStdString();
    Record["CAD_SOBRENOME"] = Form.EditSobrenome->text().toStdString();
    Record["CAD_E-MAIL"] = Form.EditEmail->text().toStdString();
    Record["CAD_ANIVERSARIO"] = Form.MaskEdit1Text().toStdString();
    Record["CAD_PAIS"] = Form.EditPais->text().toStdString();
    Record["CAD_ESTADO"] = Form.EditEstado->text().toStdString();
    Record["CAD_DATA"] = DateText(std::time(nullptr));
    return Record;
}

} // namespace

bool TFormRegister::Require(bool Failed, QWidget *Field, const QString &Message) {
    if (!Failed)
        return true;
    fDialogs.ShowMessage(this, Message);
    Field->setFocus();
    return false;
}

QCoro::Task<bool> TFormRegister::SignedIn(const CloudTurn &Turn) {
    if (fSteps->Cloud().Authenticated())
        co_return true;
    co_return (co_await fSteps->Run(Turn, [](WindowCloud &Cloud) { return Cloud.SignIn(); })).Succeeded;
}

QCoro::Task<> TFormRegister::btSaveClick() {
    // Save sees the birthday as checked, also when it was pressed right after typing.
    if (!BirthdayChecked())
        co_return;
    fNode = {"CADASTRADO"};
    const auto Adapter = AdapterAddress();

    // Blank-only fields pass: only an empty text is missing.
    if (!Require(EditNome->text().isEmpty(), EditNome, QStringLiteral("Name! / Nome!")) ||
        !Require(EditSobrenome->text().isEmpty(), EditSobrenome, QStringLiteral("Last Name! / Sobrenome!")) ||
        !Require(EditEmail->text().isEmpty(), EditEmail, QStringLiteral("E-mail!")) ||
        !Require(EditPais->text().isEmpty(), EditPais, QStringLiteral("Country! / Country!")) ||
        !Require(MaskEdit1Text() == EmptyBirthdayText(fDateFormat.Separator), MaskEdit1,
                 QStringLiteral("Birthday! / Aniversário!")) ||
        !Require(EditEstado->text().isEmpty(), EditEstado, QStringLiteral("State / Estado!")) ||
        !Require(!ValidaEMail(EditEmail->text().trimmed()), EditEmail, QStringLiteral("E-mail!")))
        co_return;

    const CloudTurn Turn = co_await fSteps->Sequencer().NextTurn();
    // A press that waited behind a save that registered has nothing left to create.
    if (!Turn || !btSave->isEnabled())
        co_return;
    const auto SignIn = co_await fSteps->Run(Turn, [](WindowCloud &Cloud) { return Cloud.SignInIfNeeded(); });
    if (SignIn.Ran && !SignIn.Succeeded) {
        fDialogs.ShowMessage(this, QStringLiteral("Algo deu errado!"));
        co_return;
    }
    const auto Node = fNode;
    const auto Record = ProfileRecord(*this);
    const auto Created =
        co_await fSteps->Run(Turn, [&Node, &Record](WindowCloud &Cloud) { return Cloud.Post(Node, Record); });
    if (!Created.Succeeded)
        co_return;
    // The answer's line is in the log: the step brings its lines back before it returns.
    const auto ProfileId = ProfileIdFromLog(fLog->Text());
    if (ProfileId.isEmpty())
        co_return;

    GravarRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), ProfileId);
    ShowRegistered(true);

    const auto Id = ProfileId.toStdString();
    const std::string Serie = fCurrentSerie ? fCurrentSerie() : std::string();
    fNode = WindowCloud::SplitPath("CADASTRADO/" + Id + "/LAST");
    const Cumulo::TJSONValue Last{{"Serie", Serie}};
    co_await fSteps->Run(Turn, [Node = &fNode, &Last](WindowCloud &Cloud) { Cloud.Patch(*Node, Last); });
    fNode = WindowCloud::SplitPath("CADASTRADO/" + Id + "/FAVORITOS");
    const Cumulo::TJSONValue Favourites{{"11111", "2"}};
    co_await fSteps->Run(
        Turn, [Node = &fNode, &Favourites](WindowCloud &Cloud) { Cloud.Patch(*Node, Favourites); });
    if (!Adapter.empty()) {
        fNode = WindowCloud::SplitPath("NAO_CADASTRADO/" + Adapter);
        co_await fSteps->Run(Turn, [Node = &fNode](WindowCloud &Cloud) { Cloud.Delete(*Node); });
    }
}

} // namespace Tunewell
