#pragma once

#include <QString>

class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QWidget;

namespace Tunewell::ChildWindowLayout {

// The profile, help and about windows share one frame: borderless, a client area of 717 x 346
// pixels, Tahoma 8 point, and one panel filling it (returned).
QFrame *SetUp(QDialog &Window, const QString &ObjectName);

// A label sized to its text, its top-left corner at Left, Top.
QLabel *AddLabel(QWidget *Parent, const QString &ObjectName, const QString &Text, int Left, int Top);

// An edit and a button at the given place; buttons never take Enter as the window's default.
QLineEdit *AddEdit(QWidget *Parent, const QString &ObjectName, const QRect &Geometry);
QPushButton *AddButton(QWidget *Parent, const QString &ObjectName, const QString &Caption,
                       const QRect &Geometry);

// The "    Close" button with the close picture; the window's handler closes the window.
QPushButton *AddCloseButton(QWidget *Parent, const QString &ObjectName, int Left, int Top, int Width,
                            int Height);

} // namespace Tunewell::ChildWindowLayout
