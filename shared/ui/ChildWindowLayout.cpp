#include "shared/ui/ChildWindowLayout.h"

#include "shared/ui/GrowToText.h"
#include "shared/ui/WindowFont.h"

#include <QDialog>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Tunewell::ChildWindowLayout {

namespace {
constexpr int kClientWidth = 717;
constexpr int kClientHeight = 346;
} // namespace

QFrame *SetUp(QDialog &Window, const QString &ObjectName) {
    Window.setObjectName(ObjectName);
    Window.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    Window.setFont(WindowFont());
    Window.setFixedSize(kClientWidth, kClientHeight);
    auto *Panel = new QFrame(&Window);
    Panel->setObjectName(QStringLiteral("Panel1"));
    Panel->setFrameShape(QFrame::StyledPanel);
    Panel->setGeometry(0, 0, kClientWidth, kClientHeight);
    return Panel;
}

QLabel *AddLabel(QWidget *Parent, const QString &ObjectName, const QString &Text, int Left, int Top) {
    auto *Label = new QLabel(Text, Parent);
    Label->setObjectName(ObjectName);
    Label->move(Left, Top);
    Label->adjustSize();
    return Label;
}

QLineEdit *AddEdit(QWidget *Parent, const QString &ObjectName, const QRect &Geometry) {
    auto *Edit = new QLineEdit(Parent);
    Edit->setObjectName(ObjectName);
    Edit->setGeometry(Geometry);
    return Edit;
}

QPushButton *AddButton(QWidget *Parent, const QString &ObjectName, const QString &Caption,
                       const QRect &Geometry) {
    auto *Button = new QPushButton(Caption, Parent);
    Button->setObjectName(ObjectName);
    Button->setGeometry(Geometry);
    Button->setAutoDefault(false);
    GrowToText(*Button);
    return Button;
}

QPushButton *AddCloseButton(QWidget *Parent, const QString &ObjectName, int Left, int Top, int Width,
                            int Height) {
    auto *Button =
        new QPushButton(QIcon(QStringLiteral(":/images/close.xpm")), QStringLiteral("    Close"), Parent);
    Button->setObjectName(ObjectName);
    Button->setIconSize(QSize(34, 33));
    Button->setGeometry(Left, Top, Width, Height);
    Button->setAutoDefault(false);
    GrowToText(*Button);
    return Button;
}

} // namespace Tunewell::ChildWindowLayout
