#include "app/ui/StationFilterBar.h"

#include "app/ui/QtScreenColour.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace Tunewell {

StationFilterBar::StationFilterBar(QWidget *Parent) : QWidget(Parent), Field_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("StationFilterBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto *caption = new QLabel(QStringLiteral("Find:"), this);
    caption->setObjectName(QStringLiteral("LabelFilter"));
    caption->setBuddy(Field_);
    Field_->setObjectName(QStringLiteral("EdtFilter"));
    Field_->setPlaceholderText(QStringLiteral("name, style or location"));
    Field_->setClearButtonEnabled(true);
    // The clear button is the field's own, a picture only: named for a screen reader and a tool
    // tip, with no text that would widen it.
    for (auto *clear : Field_->findChildren<QToolButton *>()) {
        clear->setAccessibleName(QStringLiteral("Clear"));
        clear->setToolTip(QStringLiteral("Clear"));
    }
    Field_->installEventFilter(this);
    KeepHintLegible();
    layout->addWidget(caption);
    layout->addWidget(Field_, 1);
    connect(Field_, &QLineEdit::textChanged, this, &StationFilterBar::TextChanged);
}

void StationFilterBar::Focus() {
    Field_->setFocus(Qt::ShortcutFocusReason);
    Field_->selectAll();
}

bool StationFilterBar::eventFilter(QObject *Watched, QEvent *Event) {
    if (Watched == Field_ && Event->type() == QEvent::StyleChange)
        KeepHintLegible();
    const bool keyEvent = Event->type() == QEvent::KeyPress || Event->type() == QEvent::ShortcutOverride;
    if (Watched != Field_ || !keyEvent)
        return QWidget::eventFilter(Watched, Event);
    const auto *key = static_cast<QKeyEvent *>(Event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QWidget::eventFilter(Watched, Event);
    void (StationFilterBar::*answer)() = nullptr;
    switch (key->key()) {
    case Qt::Key_Escape:
        answer = &StationFilterBar::Clear;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        answer = &StationFilterBar::EnterPressed;
        break;
    case Qt::Key_Down:
        answer = &StationFilterBar::DownPressed;
        break;
    default:
        return QWidget::eventFilter(Watched, Event);
    }
    // These keys are the row's own: no shortcut of the window takes them first.
    Event->accept();
    if (Event->type() == QEvent::KeyPress)
        (this->*answer)();
    return true;
}

void StationFilterBar::KeepHintLegible() {
    // The toolkit dims the hint to half the text's strength, which leaves it too faint in most
    // skins: it is dimmed only as far as it stays legible.
    QPalette palette = Field_->palette();
    const QColor base = palette.color(QPalette::Base);
    QColor half = palette.color(QPalette::Text);
    half.setAlphaF(0.5);
    const QColor hint = ToQColor(MadeLegible(ToScreenColour(half, base), ToScreenColour(base)));
    if (palette.color(QPalette::PlaceholderText) == hint)
        return;
    palette.setColor(QPalette::PlaceholderText, hint);
    Field_->setPalette(palette);
}

void StationFilterBar::Clear() {
    Field_->clear();
    emit Left();
}

} // namespace Tunewell
