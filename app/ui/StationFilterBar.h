#pragma once

#include <QWidget>

class QLineEdit;

namespace Tunewell {

// The row the main window grows by to find a station: a field whose words narrow the grid.
// Esc clears it and hands the focus back; Enter and Down are told to the window, which plays the
// first match or moves into the grid.
class StationFilterBar : public QWidget {
    Q_OBJECT
public:
    explicit StationFilterBar(QWidget *Parent = nullptr);

    QLineEdit *Field() const { return Field_; }
    // Puts the focus in the field with its text selected, ready to be typed over.
    void Focus();

signals:
    void TextChanged(const QString &Text);
    // Esc in the field: it has been cleared.
    void Left();
    void EnterPressed();
    void DownPressed();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void Clear();
    // The placeholder in the skin's colours, legible on the field.
    void KeepHintLegible();

    QLineEdit *Field_;
};

} // namespace Tunewell
