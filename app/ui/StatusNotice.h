#pragma once

#include <QLabel>

class QEvent;
class QResizeEvent;

namespace Tunewell {

// One line in a status bar that never runs past its room: the line is elided to the width the
// label is given, and the tooltip holds the whole explanation.
class StatusNotice : public QLabel {
    Q_OBJECT
public:
    explicit StatusNotice(QWidget *Parent = nullptr);

    void ShowNotice(const QString &Line, const QString &Explanation);
    void ClearNotice();
    // The whole line, as given.
    const QString &Line() const { return Line_; }

protected:
    void resizeEvent(QResizeEvent *Event) override;
    // A theme or font change alters how much of the line fits.
    void changeEvent(QEvent *Event) override;

private:
    void Elide();

    QString Line_;
};

} // namespace Tunewell
