#include "shared/ui/GeneralErrorDisplay.h"

#include <QCoreApplication>
#include <QString>
#include <exception>

namespace Tunewell {
namespace {

void Show(const QString &Message) {
    if (auto *display = dynamic_cast<IGeneralErrorDisplay *>(QCoreApplication::instance()))
        display->ShowError(Message);
    else
        qCritical("Tunewell: %s", qUtf8Printable(Message));
}

} // namespace

void RunHandler(const std::function<void()> &Handler) {
    try {
        Handler();
    } catch (const std::exception &Error) {
        Show(QString::fromUtf8(Error.what()));
    } catch (...) {
        Show(QStringLiteral("Unknown error"));
    }
}

} // namespace Tunewell
