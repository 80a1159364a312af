#include "app/desktop/MainWindowControl.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>

namespace Tunewell {

MainWindowControl::MainWindowControl(QWidget &Window, std::function<void()> EndProgram, QObject *Parent)
    : QObject(Parent), Window_(Window), EndProgram_(std::move(EndProgram)) {
    if (!EndProgram_)
        EndProgram_ = [] { QCoreApplication::quit(); };
    Window_.installEventFilter(this);
}

MainWindowControl::~MainWindowControl() {
    Window_.removeEventFilter(this);
}

void MainWindowControl::Raise() {
    Window_.show();
    Window_.setWindowState((Window_.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    Window_.raise();
    Window_.activateWindow();
}

void MainWindowControl::ToggleShown() {
    if (Window_.isVisible() && !Window_.isMinimized())
        Window_.hide();
    else
        Raise();
}

void MainWindowControl::Quit() {
    Quitting_ = true;
    // A hidden window's close does not end the event loop by itself.
    if (Window_.close())
        EndProgram_();
    else
        Quitting_ = false;
}

bool MainWindowControl::eventFilter(QObject *Watched, QEvent *Event) {
    if (Watched == &Window_ && Event->type() == QEvent::Close && CloseToTray_ && !Quitting_) {
        Event->ignore();
        Window_.hide();
        return true;
    }
    return QObject::eventFilter(Watched, Event);
}

} // namespace Tunewell
