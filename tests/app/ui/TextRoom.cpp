#include "TextRoom.h"

#include "WidgetPath.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QWidget>
#include <set>

namespace Tunewell::Testing {

namespace {

// QCommonStyle's gap between a button's picture and its text.
constexpr int kIconSpacing = 4;
// QLineEdit's own blank on either side of its text.
constexpr int kEditMargin = 2;

QString Sizes(const QSize &Needed, const QSize &Room) {
    return QStringLiteral("needs %1x%2, has %3x%4")
        .arg(Needed.width())
        .arg(Needed.height())
        .arg(Room.width())
        .arg(Room.height());
}

QString Plain(QString Text) {
    return Text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

bool Exceeds(const QSize &Needed, const QSize &Room) {
    return Needed.width() > Room.width() || Needed.height() > Room.height();
}

QSize TextSize(const QWidget &Widget, const QString &Text) {
    return Widget.fontMetrics().size(Qt::TextShowMnemonic, Text);
}

// The text each kind of control shows, or nothing for a widget that shows none.
QString ShownText(const QWidget &Widget) {
    if (const auto *Label = qobject_cast<const QLabel *>(&Widget))
        return Label->text();
    if (const auto *Button = qobject_cast<const QAbstractButton *>(&Widget))
        return Button->text();
    if (const auto *Edit = qobject_cast<const QLineEdit *>(&Widget))
        return Edit->displayText().isEmpty() ? Edit->placeholderText() : Edit->displayText();
    if (const auto *Combo = qobject_cast<const QComboBox *>(&Widget))
        return Combo->currentText();
    return {};
}

void CheckLabel(const QLabel &Label, QStringList &Misfits) {
    if (Label.text().isEmpty())
        return;
    const QSize Room = Label.size();
    QSize Needed = Label.sizeHint();
    if (Label.wordWrap())
        Needed = QSize(Room.width(), Label.heightForWidth(Room.width()));
    if (Exceeds(Needed, Room))
        Misfits << QStringLiteral("%1 \"%2\": %3").arg(WidgetPath(&Label), Label.text(), Sizes(Needed, Room));
}

void CheckPushButton(const QPushButton &Button, QStringList &Misfits) {
    QStyleOptionButton Option;
    Option.initFrom(&Button);
    Option.text = Button.text();
    Option.icon = Button.icon();
    Option.iconSize = Button.iconSize();
    Option.features = Button.isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None;
    const QRect Room = Button.style()->subElementRect(QStyle::SE_PushButtonContents, &Option, &Button);
    QSize Needed = TextSize(Button, Button.text());
    if (!Button.icon().isNull()) {
        Needed.rwidth() += Button.iconSize().width() + (Button.text().isEmpty() ? 0 : kIconSpacing);
        Needed.setHeight(std::max(Needed.height(), Button.iconSize().height()));
    }
    if (Exceeds(Needed, Room.size()))
        Misfits << QStringLiteral("%1 \"%2\": %3")
                       .arg(WidgetPath(&Button), Button.text(), Sizes(Needed, Room.size()));
}

void CheckOtherButton(const QAbstractButton &Button, QStringList &Misfits) {
    if (Exceeds(Button.sizeHint(), Button.size()))
        Misfits << QStringLiteral("%1 \"%2\": %3")
                       .arg(WidgetPath(&Button), Button.text(), Sizes(Button.sizeHint(), Button.size()));
}

void CheckEdit(const QLineEdit &Edit, QStringList &Misfits) {
    QStyleOptionFrame Option;
    Option.initFrom(&Edit);
    Option.rect = Edit.rect();
    Option.lineWidth =
        Edit.hasFrame() ? Edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, &Edit) : 0;
    Option.state |= QStyle::State_Sunken;
    const QRect Contents = Edit.style()
                               ->subElementRect(QStyle::SE_LineEditContents, &Option, &Edit)
                               .marginsRemoved(Edit.textMargins())
                               .adjusted(kEditMargin, 0, -kEditMargin, 0);
    const QString Text = ShownText(Edit);
    const QSize Needed(Edit.fontMetrics().horizontalAdvance(Text), Edit.fontMetrics().height());
    if (Exceeds(Needed, Contents.size()))
        Misfits
            << QStringLiteral("%1 \"%2\": %3").arg(WidgetPath(&Edit), Text, Sizes(Needed, Contents.size()));
}

void CheckCombo(const QComboBox &Combo, QStringList &Misfits) {
    QStyleOptionComboBox Option;
    Option.initFrom(&Combo);
    Option.editable = Combo.isEditable();
    Option.currentText = Combo.currentText();
    const QRect Field =
        Combo.style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, &Combo);
    const QSize Needed(Combo.fontMetrics().horizontalAdvance(Combo.currentText()),
                       Combo.fontMetrics().height());
    if (Exceeds(Needed, Field.size()))
        Misfits << QStringLiteral("%1 \"%2\": %3")
                       .arg(WidgetPath(&Combo), Combo.currentText(), Sizes(Needed, Field.size()));
}

void CheckHeader(const QHeaderView &Header, QStringList &Misfits) {
    if (Header.orientation() != Qt::Horizontal || !Header.model())
        return;
    for (int Section = 0; Section < Header.count(); ++Section) {
        if (Header.isSectionHidden(Section))
            continue;
        const int Needed = Header.sectionSizeHint(Section);
        if (Needed > Header.sectionSize(Section))
            Misfits << QStringLiteral("%1 section \"%2\": needs %3, has %4")
                           .arg(WidgetPath(&Header),
                                Header.model()->headerData(Section, Qt::Horizontal).toString())
                           .arg(Needed)
                           .arg(Header.sectionSize(Section));
    }
}

void CheckMenuBar(const QMenuBar &Bar, QStringList &Misfits) {
    for (QAction *Action : Bar.actions()) {
        if (!Action->isVisible() || Action->isSeparator())
            continue;
        const QRect Item = Bar.actionGeometry(Action);
        const int Needed = Bar.fontMetrics().horizontalAdvance(Plain(Action->text()));
        if (Item.isEmpty() || !Bar.rect().contains(Item) || Item.width() < Needed)
            Misfits << QStringLiteral("%1 item \"%2\": needs %3, has %4 in a bar of %5")
                           .arg(WidgetPath(&Bar), Action->text())
                           .arg(Needed)
                           .arg(Item.width())
                           .arg(Bar.width());
    }
}

void CheckMenu(QMenu &Menu, QStringList &Misfits, std::set<QMenu *> &Seen) {
    if (!Seen.insert(&Menu).second)
        return;
    Menu.ensurePolished();
    for (QAction *Action : Menu.actions()) {
        if (!Action->isVisible() || Action->isSeparator())
            continue;
        const int Needed =
            Menu.fontMetrics().horizontalAdvance(Plain(Action->text().section(QLatin1Char('\t'), 0, 0)));
        const int Room = Menu.actionGeometry(Action).width();
        if (Room < Needed)
            Misfits << QStringLiteral("%1 item \"%2\": needs %3, has %4")
                           .arg(WidgetPath(&Menu), Action->text())
                           .arg(Needed)
                           .arg(Room);
        if (Action->menu())
            CheckMenu(*Action->menu(), Misfits, Seen);
    }
}

bool ShowsText(const QWidget &Widget) {
    return !ShownText(Widget).isEmpty();
}

// A text control must lie inside its parent and clear of every visible sibling.
void CheckPlace(const QWidget &Widget, const QWidget &Window, QStringList &Misfits) {
    const QWidget *Parent = Widget.parentWidget();
    if (!Parent || Widget.isWindow())
        return;
    if (!Parent->rect().contains(Widget.geometry()))
        Misfits << QStringLiteral("%1 \"%2\" reaches outside its parent: %3,%4 %5x%6 in %7x%8")
                       .arg(WidgetPath(&Widget), ShownText(Widget))
                       .arg(Widget.x())
                       .arg(Widget.y())
                       .arg(Widget.width())
                       .arg(Widget.height())
                       .arg(Parent->width())
                       .arg(Parent->height());
    for (const QObject *Object : Parent->children()) {
        const auto *Sibling = qobject_cast<const QWidget *>(Object);
        if (!Sibling || Sibling == &Widget || Sibling->isWindow() || !Sibling->isVisibleTo(&Window))
            continue;
        // Each pair of text controls once.
        if (ShowsText(*Sibling) && Sibling < &Widget)
            continue;
        if (Sibling->geometry().intersects(Widget.geometry()))
            Misfits << QStringLiteral("%1 \"%2\" overlaps %3")
                           .arg(WidgetPath(&Widget), ShownText(Widget), WidgetPath(Sibling));
    }
}

} // namespace

QStringList TextMisfits(QWidget &Window) {
    Window.ensurePolished();
    QStringList Misfits;
    std::set<QMenu *> Menus;
    for (QWidget *Widget : Window.findChildren<QWidget *>()) {
        if (auto *Menu = qobject_cast<QMenu *>(Widget)) {
            CheckMenu(*Menu, Misfits, Menus);
            continue;
        }
        if (Widget->window() != &Window || !Widget->isVisibleTo(&Window))
            continue;
        Widget->ensurePolished();
        if (const auto *Label = qobject_cast<const QLabel *>(Widget))
            CheckLabel(*Label, Misfits);
        else if (const auto *Button = qobject_cast<const QPushButton *>(Widget))
            CheckPushButton(*Button, Misfits);
        else if (const auto *Other = qobject_cast<const QAbstractButton *>(Widget))
            CheckOtherButton(*Other, Misfits);
        else if (const auto *Edit = qobject_cast<const QLineEdit *>(Widget))
            CheckEdit(*Edit, Misfits);
        else if (const auto *Combo = qobject_cast<const QComboBox *>(Widget))
            CheckCombo(*Combo, Misfits);
        else if (const auto *Header = qobject_cast<const QHeaderView *>(Widget))
            CheckHeader(*Header, Misfits);
        else if (const auto *Bar = qobject_cast<const QMenuBar *>(Widget))
            CheckMenuBar(*Bar, Misfits);
        if (ShowsText(*Widget) && !qobject_cast<const QComboBox *>(Widget->parentWidget()))
            CheckPlace(*Widget, Window, Misfits);
    }
    return Misfits;
}

} // namespace Tunewell::Testing
