#pragma once

#include <QLabel>

class QEvent;
class QResizeEvent;

namespace Tunewell {

// One line in a status bar that never runs past its room: it asks for the width of its whole
// line and, where the bar has less, takes at least the room of a few words, the line elided to
// the width it is given. The tooltip holds the whole line and its explanation.
class StatusNotice : public QLabel {
    Q_OBJECT
public:
    explicit StatusNotice(QWidget *Parent = nullptr);

    void ShowNotice(const QString &Line, const QString &Explanation);
    void ClearNotice();
    // The whole line, as given.
    const QString &Line() const { return Line_; }
    // What stands behind the line (the system's words, a folder), as given.
    const QString &Explanation() const { return Explanation_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *Event) override;
    // A theme or font change alters how much of the line fits.
    void changeEvent(QEvent *Event) override;

private:
    // Room around the text: frame, margins.
    int Around() const;
    void Elide();

    QString Line_;
    QString Explanation_;
};

} // namespace Tunewell
