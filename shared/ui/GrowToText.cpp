#include "shared/ui/GrowToText.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace Tunewell {

namespace {

// QCommonStyle's gap between a button's picture and its text.
constexpr int kIconSpacing = 4;

void Grow(QWidget &Control, const QSize &Needed, bool Centred) {
    QRect Place = Control.geometry();
    const int ExtraWidth = std::max(0, Needed.width() - Place.width());
    const int ExtraHeight = std::max(0, Needed.height() - Place.height());
    if (ExtraWidth == 0 && ExtraHeight == 0)
        return;
    Place.adjust(Centred ? -ExtraWidth / 2 : 0, 0, Centred ? ExtraWidth - ExtraWidth / 2 : ExtraWidth,
                 ExtraHeight);
    if (const QWidget *Parent = Control.parentWidget()) {
        if (Place.right() > Parent->rect().right())
            Place.moveRight(Parent->rect().right());
        if (Place.left() < 0)
            Place.moveLeft(0);
    }
    Control.setGeometry(Place);
}

} // namespace

void GrowToText(QLabel &Label) {
    Label.ensurePolished();
    Grow(Label, Label.sizeHint(), Label.alignment() & Qt::AlignHCenter);
}

void GrowToText(QPushButton &Button) {
    Button.ensurePolished();
    QStyleOptionButton Option;
    Option.initFrom(&Button);
    Option.text = Button.text();
    Option.icon = Button.icon();
    Option.iconSize = Button.iconSize();
    const QSize Contents =
        Button.style()->subElementRect(QStyle::SE_PushButtonContents, &Option, &Button).size();
    QSize Needed = Button.fontMetrics().size(Qt::TextShowMnemonic, Button.text());
    if (!Button.icon().isNull()) {
        Needed.rwidth() += Button.iconSize().width() + (Button.text().isEmpty() ? 0 : kIconSpacing);
        Needed.setHeight(std::max(Needed.height(), Button.iconSize().height()));
    }
    Grow(Button, Needed + Button.size() - Contents, false);
}

} // namespace Tunewell
