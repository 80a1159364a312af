#pragma once

#include "help/publish/PublishPushKeys.h"
#include "shared/core/WindowCloud.h"
#include "shared/ui/WindowCloudSteps.h"
#include "shared/ui/WindowEnvironment.h"

#include <QCoroTask>
#include <QDialog>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace Tunewell {

class MemoLog;

// The help window: the bilingual help text and, on a panel nobody shows, the maintainer's
// publishing of the station catalogue and of the version.
class TFormHelp : public QDialog {
    Q_OBJECT
public:
    // Read from the current working directory.
    static constexpr const char *kStationListFile = "lista_radios.txt";

    explicit TFormHelp(const WindowEnvironment &Environment, QWidget *Parent = nullptr);
    ~TFormHelp() override;

    // Closes once the window's publishing under way, if any, has ended.
    QCoro::Task<> BitBtn1Click();
    QCoro::Task<> btAlterarClick();
    QCoro::Task<> BtListaRadiosClick();

    WindowCloud &Cloud() { return fSteps->Cloud(); }
    // No cloud step runs or waits.
    bool CloudIdle() const { return fSteps->Sequencer().Idle(); }

    void reject() override;

    QFrame *Panel1;
    QPlainTextEdit *Memo1;
    QPushButton *BitBtn1;
    QFrame *PanelPublish;
    QPushButton *BtListaRadios;
    QLabel *Label1;
    QLineEdit *EditVersao;
    QLabel *Label2;
    QLineEdit *EditUrl;
    QPushButton *btAlterar;
    QPlainTextEdit *memRTDB;

private:
    IDialogs &fDialogs;
    std::unique_ptr<MemoLog> fLog;
    std::unique_ptr<WindowCloudSteps> fSteps;
    PublishPushKeys fKeys;
    bool fClosing = false;
    bool fClosed = false;
};

} // namespace Tunewell
