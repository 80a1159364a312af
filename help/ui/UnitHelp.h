#pragma once

#include "help/publish/PublishPushKeys.h"
#include "shared/core/WindowCloud.h"
#include "shared/ui/WindowEnvironment.h"

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

    void BitBtn1Click();
    void btAlterarClick();
    void BtListaRadiosClick();

    WindowCloud &Cloud() { return *fCloud; }

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
    std::unique_ptr<WindowCloud> fCloud;
    PublishPushKeys fKeys;
};

} // namespace Tunewell
