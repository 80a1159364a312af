#include "app/desktop/FocusedControlKeys.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace Tunewell {

namespace {
bool IsInputControl(const QObject &Object) {
    return qobject_cast<const QAbstractButton *>(&Object) || qobject_cast<const QAbstractSlider *>(&Object) ||
           qobject_cast<const QLineEdit *>(&Object) || qobject_cast<const QAbstractSpinBox *>(&Object) ||
           qobject_cast<const QComboBox *>(&Object) || qobject_cast<const QTextEdit *>(&Object) ||
           qobject_cast<const QPlainTextEdit *>(&Object);
}

bool IsSpaceOrEnter(const QKeyEvent &Key) {
    if ((Key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    return Key.key() == Qt::Key_Space || Key.key() == Qt::Key_Return || Key.key() == Qt::Key_Enter;
}
} // namespace

FocusedControlKeys::FocusedControlKeys(QWidget &Window, QObject *Parent) : QObject(Parent), Window_(Window) {
    // A shortcut asks the focused widget first, and that question does not pass the window.
    QCoreApplication::instance()->installEventFilter(this);
}

FocusedControlKeys::~FocusedControlKeys() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool FocusedControlKeys::eventFilter(QObject *Watched, QEvent *Event) {
    if (Event->type() != QEvent::ShortcutOverride || !IsInputControl(*Watched) ||
        !IsSpaceOrEnter(*static_cast<QKeyEvent *>(Event)))
        return false;
    const auto *control = static_cast<QWidget *>(Watched);
    if (!Window_.isAncestorOf(control))
        return false;
    // Accepted here, the key goes to the control as a key press instead of to a shortcut.
    Event->accept();
    return true;
}

} // namespace Tunewell
