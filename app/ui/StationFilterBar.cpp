#include "app/ui/StationFilterBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

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
    Field_->installEventFilter(this);
    layout->addWidget(caption);
    layout->addWidget(Field_, 1);
    connect(Field_, &QLineEdit::textChanged, this, &StationFilterBar::TextChanged);
}

void StationFilterBar::Focus() {
    Field_->setFocus(Qt::ShortcutFocusReason);
    Field_->selectAll();
}

bool StationFilterBar::eventFilter(QObject *Watched, QEvent *Event) {
    if (Watched == Field_ && Event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(Event)->key() == Qt::Key_Escape) {
        Field_->clear();
        emit Left();
        return true;
    }
    return QWidget::eventFilter(Watched, Event);
}

} // namespace Tunewell
