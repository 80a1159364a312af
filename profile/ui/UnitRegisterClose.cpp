#include "profile/ui/ProfileLog.h"
#include "profile/ui/UnitRegister.h"
#include "shared/core/ProgramEnd.h"
#include "shared/core/Registro.h"
#include "shared/core/TimeText.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QLabel>
#include <QPushButton>
#include <ctime>

namespace Tunewell {

namespace {

Cumulo::TJSONValue DeletionMark() {
    const auto Now = std::time(nullptr);
    Cumulo::TJSONValue Mark = Cumulo::TJSONValue::object();
    Mark["EXC_HORA"] = TimeText(Now);
    Mark["EXC_DATA"] = DateText(Now);
    return Mark;
}

Cumulo::TJSONValue PresenceRecord() {
    const auto Now = std::time(nullptr);
    Cumulo::TJSONValue Record = Cumulo::TJSONValue::object();
    Record["Hora_Entrada"] = TimeText(Now);
    Record["Data"] = DateText(Now);
    Record["Status"] = "Online";
    return Record;
}

} // namespace

void TFormRegister::btDeleteClick() {
    const auto ProfileId = LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"));
    // A value that vanished while the window was open leaves nothing to mark: no write may go
    // under an empty key.
    if (!ProfileId.isEmpty()) {
        fNode = WindowCloud::SplitPath("CADASTRADO/" + ProfileId.toStdString() + "/EXCLUIDO");
        // The mark's time is taken after a sign-in that had to run first.
        if (fCloud->Authenticated() || fCloud->SignIn().Succeeded)
            fCloud->Put(fNode, DeletionMark());
    }
    ExcluirRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), ProfileId);
    btDelete->setEnabled(false);
    btSave->setEnabled(true);
    Label7->setText(QStringLiteral("Register / Registre-se"));
    Label7->adjustSize();
    fDialogs.StartNewInstance();
    EndProgramWithoutCloseRecord();
}

void TFormRegister::btSairClick() {
    // The window closes whatever the record met; an error still reaches the error report.
    RunHandler([this] { RecordPresenceOnClose(); });
    close();
}

void TFormRegister::reject() {
    // Esc and the window manager's close end the window as its close button does.
    RunHandler([this] { RecordPresenceOnClose(); });
    QDialog::reject();
}

void TFormRegister::RecordPresenceOnClose() {
    // Once per closing: the close button's own close comes back here through reject().
    if (fClosing)
        return;
    fClosing = true;
    fRegistration = LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"));
    if (fRegistration.isEmpty())
        return;
    fNode = WindowCloud::SplitPath("CADASTRADO/" + fRegistration.toStdString() + "/STATUS");
    const auto Record = PresenceRecord();
    if (fCloud->Authenticated() || fCloud->SignIn().Succeeded)
        fCloud->Patch(fNode, Record);
}

} // namespace Tunewell
