#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace Tunewell {

class TFormRadio;

// The windows the main window opens from its menu.
enum class ChildWindow { Register, Help, About };

// Creates a new child window each time; the main window places it, shows it modally and
// releases it when it closes.
using ChildWindowFactory = std::function<std::unique_ptr<QDialog>(ChildWindow Kind, TFormRadio &Main)>;

// The program's own windows: TFormRegister, TFormHelp and TFormAbout.
std::unique_ptr<QDialog> CreateChildWindow(ChildWindow Kind, TFormRadio &Main);

} // namespace Tunewell
