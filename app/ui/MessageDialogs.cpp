#include "app/ui/MessageDialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace Tunewell {

namespace {
const QString kTitle = QStringLiteral("Tunewell");

// The bilingual messages separate their sentences with a lone carriage return.
QString ForDisplay(const QString &Text) {
    QString text = Text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

void MessageDialogs::ShowMessage(QWidget *Parent, const QString &Text) {
    QMessageBox::information(Parent, kTitle, ForDisplay(Text));
}

bool MessageDialogs::AskYesNo(QWidget *Parent, const QString &Text, const QString &Caption) {
    return QMessageBox::question(Parent, Caption, ForDisplay(Text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void MessageDialogs::ShowError(QWidget *Parent, const QString &Message) {
    QMessageBox::critical(Parent, kTitle, ForDisplay(Message));
}

bool MessageDialogs::OpenAddress(const QString &Address) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(Address));
}

void MessageDialogs::StartNewInstance() {
    if (BeforeNewInstance_)
        BeforeNewInstance_();
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

} // namespace Tunewell
