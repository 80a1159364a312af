#include "app/ui/ChildWindows.h"

#include "app/ui/FormRadio.h"

namespace Tunewell {

std::unique_ptr<QDialog> CreateChildWindow(ChildWindow Kind, TFormRadio &Main) {
    // The profile, help and about windows join here as they are built; until then an empty
    // window of the right kind stands in.
    auto window = std::make_unique<QDialog>();
    window->setFont(Main.font());
    switch (Kind) {
    case ChildWindow::Register:
        window->setObjectName(QStringLiteral("FormRegister"));
        break;
    case ChildWindow::Help:
        window->setObjectName(QStringLiteral("FormHelp"));
        break;
    case ChildWindow::About:
        window->setObjectName(QStringLiteral("FormAbout"));
        break;
    }
    window->resize(717, 346);
    return window;
}

} // namespace Tunewell
