#pragma once

#include "shared/ui/GeneralErrorDisplay.h"

#include <QApplication>

class QString;

namespace Tunewell {

class IDialogs;

// The program's application object and its general error display: an error that leaves a
// handler, a queued call or a procedure the cloud client posted to the main thread is shown
// through the dialogs' error report, and the program goes on instead of ending in the event loop.
class TunewellApplication : public QApplication, public IGeneralErrorDisplay {
public:
    TunewellApplication(int &Argc, char **Argv);
    ~TunewellApplication() override;

    // The running instance, or nullptr when the application object is another one.
    static TunewellApplication *Instance();

    // Where errors are shown from now on; until then, and after nullptr, they are logged only.
    void ShowErrorsThrough(IDialogs *Dialogs);
    // Shows one error as the display does.
    void ShowError(const QString &Message) override;

    bool notify(QObject *Receiver, QEvent *Event) override;

private:
    IDialogs *Dialogs_ = nullptr;
};

} // namespace Tunewell
