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

void TFormRegister::btSaveClick() {
    // Save sees the birthday as checked, also when it was pressed right after typing.
    if (!BirthdayChecked())
        return;
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
        return;

    const auto SignIn = fCloud->SignInIfNeeded();
    if (SignIn.Ran && !SignIn.Succeeded) {
        fDialogs.ShowMessage(this, QStringLiteral("Algo deu errado!"));
        return;
    }
    if (!fCloud->Post(fNode, ProfileRecord(*this)).Succeeded)
        return;
    const auto ProfileId = ProfileIdFromLog(fLog->Text());
    if (ProfileId.isEmpty())
        return;

    GravarRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), ProfileId);
    ShowRegistered(true);

    const auto Id = ProfileId.toStdString();
    fNode = WindowCloud::SplitPath("CADASTRADO/" + Id + "/LAST");
    fCloud->Patch(fNode, Cumulo::TJSONValue{{"Serie", fCurrentSerie ? fCurrentSerie() : std::string()}});
    fNode = WindowCloud::SplitPath("CADASTRADO/" + Id + "/FAVORITOS");
    fCloud->Patch(fNode, Cumulo::TJSONValue{{"11111", "2"}});
    if (!Adapter.empty()) {
        fNode = WindowCloud::SplitPath("NAO_CADASTRADO/" + Adapter);
        fCloud->Delete(fNode);
    }
}

} // namespace Tunewell
