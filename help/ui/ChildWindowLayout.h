#pragma once

#include <QString>

class QDialog;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace Tunewell::ChildWindowLayout {

// The profile, help and about windows share one frame: borderless, a client area of 717 x 346
// pixels, Tahoma 8 point, and one panel filling it (returned).
QFrame *SetUp(QDialog &Window, const QString &ObjectName);

// A label sized to its text, its top-left corner at Left, Top.
QLabel *AddLabel(QWidget *Parent, const QString &ObjectName, const QString &Text, int Left, int Top);

// The "    Close" button with the close picture; the window's handler closes the window.
QPushButton *AddCloseButton(QWidget *Parent, const QString &ObjectName, int Left, int Top, int Width,
                            int Height);

} // namespace Tunewell::ChildWindowLayout
