#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace Tunewell {

class IDialogs;

// The about window: name, credits, date and the maker's web address.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(IDialogs &Dialogs, QWidget *Parent = nullptr);

    void BitBtn1Click();
    void LbSiteClick();

    QFrame *Panel1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label6;
    QLabel *LbSite;
    QPushButton *BitBtn1;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    IDialogs &fDialogs;
};

} // namespace Tunewell
