#include "app/ui/TunewellApplication.h"

#include "shared/ui/Dialogs.h"

#include <QMetaObject>
#include <QString>
#include <QThread>
#include <QWidget>

namespace Tunewell {

TunewellApplication::TunewellApplication(int &Argc, char **Argv) : QApplication(Argc, Argv) {}

TunewellApplication::~TunewellApplication() = default;

TunewellApplication *TunewellApplication::Instance() {
    return dynamic_cast<TunewellApplication *>(QCoreApplication::instance());
}

void TunewellApplication::ShowErrorsThrough(IDialogs *Dialogs) {
    Dialogs_ = Dialogs;
}

void TunewellApplication::ShowError(const QString &Message) {
    // Widgets live on the main thread only: an error of another thread is shown from there.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, Message] { ShowError(Message); }, Qt::QueuedConnection);
        return;
    }
    if (!Dialogs_) {
        qCritical("Tunewell: %s", qUtf8Printable(Message));
        return;
    }
    QWidget *parent = activeModalWidget();
    Dialogs_->ShowError(parent ? parent : activeWindow(), Message);
}

bool TunewellApplication::notify(QObject *Receiver, QEvent *Event) {
    // The last resort, for queued calls and posted procedures; handlers of the user's actions
    // stop their own errors (RunHandler).
    bool handled = false;
    RunHandler([&] { handled = QApplication::notify(Receiver, Event); });
    return handled;
}

} // namespace Tunewell
