#include "app/ui/MessageDialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
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
    QMessageBox box(QMessageBox::Question, Caption, ForDisplay(Text), QMessageBox::Yes | QMessageBox::No,
                    Parent);
    // Answers in both languages, as the questions are asked.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Yes / Sim"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No / N\u00E3o"));
    return box.exec() == QMessageBox::Yes;
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
