#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace Tunewell {

// Showing, hiding and ending the main window from outside it: the tray's click, the desktop's
// Raise and Quit, and closing to the tray. Every end goes through the window's normal close, so
// its close record is written, and then ends the program, also when the window was hidden.
class MainWindowControl : public QObject {
    Q_OBJECT
public:
    explicit MainWindowControl(QWidget &Window, std::function<void()> EndProgram = {},
                               QObject *Parent = nullptr);
    ~MainWindowControl() override;

    // Shown, restored, in front and active.
    void Raise();
    // Hidden when shown; otherwise raised.
    void ToggleShown();
    // The one way the program closes its main window for good.
    void Quit();
    // While on, closing the window hides it instead; Quit still closes it.
    void SetCloseToTray(bool On) { CloseToTray_ = On; }
    bool CloseToTray() const { return CloseToTray_; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QWidget &Window_;
    std::function<void()> EndProgram_;
    bool CloseToTray_ = false;
    bool Quitting_ = false;
};

} // namespace Tunewell
