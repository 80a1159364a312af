#include "app/ui/ChildWindows.h"

#include "app/core/StationTable.h"
#include "app/ui/FormRadio.h"
#include "help/ui/UnitAbout.h"
#include "help/ui/UnitHelp.h"
#include "profile/ui/UnitRegister.h"

namespace Tunewell {

std::unique_ptr<QDialog> CreateChildWindow(ChildWindow Kind, TFormRadio &Main) {
    switch (Kind) {
    case ChildWindow::Register:
        // The profile window records the station the main window shows when it is saved.
        return std::make_unique<TFormRegister>(Main.Environment(),
                                               [&Main] { return Main.cdsRadios.FieldText(fpSerie); });
    case ChildWindow::Help:
        return std::make_unique<TFormHelp>(Main.Environment());
    case ChildWindow::About:
        return std::make_unique<TFormAbout>(Main.Environment().Dialogs);
    }
    return nullptr;
}

} // namespace Tunewell
