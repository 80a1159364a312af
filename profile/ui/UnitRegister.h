#pragma once

#include "profile/core/ShortDateFormat.h"
#include "shared/core/WindowCloud.h"
#include "shared/ui/WindowCloudSteps.h"
#include "shared/ui/WindowEnvironment.h"

#include <QCoroTask>
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace Tunewell {

class ProfileLog;

// The profile window: creates the user's profile in the cloud, gives it up, and records the
// user's presence when it closes. Its cloud handlers are coroutines: their steps run off the UI
// thread, one handler's at a time, and the window closes once its own steps have ended.
class TFormRegister : public QDialog {
    Q_OBJECT
public:
    // The display text of the serie of the main window's current station.
    using TCurrentSerie = std::function<std::string()>;

    TFormRegister(const WindowEnvironment &Environment, TCurrentSerie CurrentSerie,
                  QWidget *Parent = nullptr);
    ~TFormRegister() override;

    void FormShow();
    void MaskEdit1Exit();
    QCoro::Task<> btSaveClick();
    QCoro::Task<> btDeleteClick();
    // Writes the presence record and closes; Esc and the window manager's close write it too.
    QCoro::Task<> btSairClick();

    // The birthday field as the user sees it, blank positions read as spaces.
    QString MaskEdit1Text() const;
    WindowCloud &Cloud() { return fSteps->Cloud(); }
    // No cloud step runs or waits.
    bool CloudIdle() const { return fSteps->Sequencer().Idle(); }

    // The machine's adapter address; tests replace it.
    std::function<std::string()> AdapterAddress;
    // The user's short date format, read when the window is shown; tests replace it.
    std::function<TShortDateFormat()> DateFormat;
    const Cumulo::TStringDynArray &node() const { return fNode; }

    QFrame *Panel1;
    QLabel *Label7;
    QLabel *Label1;
    QLineEdit *EditNome;
    QLabel *Label2;
    QLineEdit *EditSobrenome;
    QLabel *Label3;
    QLineEdit *EditEmail;
    QLabel *Label4;
    QLineEdit *MaskEdit1;
    QLabel *Label5;
    QLineEdit *EditPais;
    QLabel *Label6;
    QLineEdit *EditEstado;
    QPushButton *btSave;
    QPushButton *btDelete;
    QPlainTextEdit *memRTDB;
    QLabel *Label8;
    QLabel *Label9;
    QLabel *Label12;
    QLabel *Label13;
    QPushButton *btSair;

    void reject() override;

protected:
    void showEvent(QShowEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void CreateControls();
    void ShowRegistered(bool Registered);
    // Shows the message, puts the focus into the field and answers false when Failed.
    bool Require(bool Failed, QWidget *Field, const QString &Message);
    // MaskEdit1Exit's check; false (after "Data Inválida") when the field holds no valid date.
    bool CheckBirthday();
    // True unless a check due since the field was left finds no valid date.
    bool BirthdayChecked();
    // The close handler's record (the presence under the profile, if any).
    QCoro::Task<> RecordPresenceOnClose(const CloudTurn &Turn);
    // Signs in when the window is not signed in; true when it is afterwards.
    QCoro::Task<bool> SignedIn(const CloudTurn &Turn);

    IDialogs &fDialogs;
    TCurrentSerie fCurrentSerie;
    std::unique_ptr<ProfileLog> fLog;
    std::unique_ptr<WindowCloudSteps> fSteps;
    Cumulo::TStringDynArray fNode;
    // The profile ID read when the window was shown or closed.
    QString fRegistration;
    // The format the birthday field is typed and checked in.
    TShortDateFormat fDateFormat;
    // The field was left and its check has not run yet.
    bool fBirthdayCheckPending = false;
    // Set while the window closes, so that the record is written once.
    bool fClosing = false;
    // Set once the record is written: the window's own close goes through then.
    bool fClosed = false;
};

} // namespace Tunewell
