#include "shared/ui/GeneralErrorDisplay.h"

#include "shared/ui/SequenceEnded.h"

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

QCoro::Task<> Awaited(QCoro::Task<> Handler) {
    try {
        co_await std::move(Handler);
    } catch (const ESequenceEnded &) {
    } catch (const std::exception &Error) {
        Show(QString::fromUtf8(Error.what()));
    } catch (...) {
        Show(QStringLiteral("Unknown error"));
    }
}

} // namespace

void RunHandlerTask(QCoro::Task<> Handler) {
    // The coroutine keeps itself alive until it ends.
    Awaited(std::move(Handler));
}

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
