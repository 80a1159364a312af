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

QCoro::Task<> TFormRegister::btDeleteClick() {
    const auto ProfileId = LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"));
    // A value that vanished while the window was open leaves nothing to mark: no write may go
    // under an empty key.
    if (!ProfileId.isEmpty()) {
        const CloudTurn Turn = co_await fSteps->Sequencer().NextTurn();
        Turn.CheckMayGoOn();
        fNode = WindowCloud::SplitPath("CADASTRADO/" + ProfileId.toStdString() + "/EXCLUIDO");
        // The mark's time is taken after a sign-in that had to run first.
        if (co_await SignedIn(Turn)) {
            const auto Node = fNode;
            const auto Mark = DeletionMark();
            co_await fSteps->Run(Turn, [&Node, &Mark](WindowCloud &Cloud) { Cloud.Put(Node, Mark); });
        }
    }
    ExcluirRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), ProfileId);
    btDelete->setEnabled(false);
    btSave->setEnabled(true);
    Label7->setText(QStringLiteral("Register / Registre-se"));
    Label7->adjustSize();
    fDialogs.StartNewInstance();
    EndProgramWithoutCloseRecord();
}

QCoro::Task<> TFormRegister::btSairClick() {
    // Once per closing: the close button, Esc and the window manager's close all come here.
    if (fClosing)
        co_return;
    fClosing = true;
    {
        // After the window's steps asked before; the record is its last write.
        const CloudTurn Turn = co_await fSteps->Sequencer().LastTurn();
        try {
            co_await RecordPresenceOnClose(Turn);
        } catch (const std::exception &Error) {
            // The window closes whatever the record met; the error is still reported.
            fClosed = true;
            QDialog::reject();
            throw;
        }
    }
    fClosed = true;
    QDialog::reject();
}

void TFormRegister::reject() {
    // Esc and the window manager's close end the window as its close button does.
    if (fClosed)
        QDialog::reject();
    else
        RunHandlerTask(btSairClick());
}

QCoro::Task<> TFormRegister::RecordPresenceOnClose(const CloudTurn &Turn) {
    fRegistration = LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"));
    if (fRegistration.isEmpty())
        co_return;
    fNode = WindowCloud::SplitPath("CADASTRADO/" + fRegistration.toStdString() + "/STATUS");
    const auto Record = PresenceRecord();
    if (co_await SignedIn(Turn)) {
        const auto Node = fNode;
        co_await fSteps->Run(Turn, [&Node, &Record](WindowCloud &Cloud) { Cloud.Patch(Node, Record); });
    }
}

} // namespace Tunewell
