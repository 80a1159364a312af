#pragma once

#include <QObject>

class QWidget;

namespace Tunewell {

// Keeps Space and Enter, which play, pause or play the grid's selected row from anywhere in the
// main window, away from the window's shortcuts while a button, edit, slider or other input
// control of the window has the focus: there they are the control's own (Space presses a
// button) or do nothing. The grid, and the window when no control has the focus, keep them.
class FocusedControlKeys : public QObject {
    Q_OBJECT
public:
    explicit FocusedControlKeys(QWidget &Window, QObject *Parent = nullptr);
    ~FocusedControlKeys() override;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QWidget &Window_;
};

} // namespace Tunewell
