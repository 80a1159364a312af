#include "help/ui/UnitAbout.h"

#include "Tunewell/BuildValues.h"
#include "shared/ui/ChildWindowLayout.h"
#include "shared/ui/Dialogs.h"
#include "shared/ui/GeneralErrorDisplay.h"
#include "shared/ui/GrowToText.h"
#include "shared/ui/WindowFont.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>

namespace Tunewell {

namespace {

QLabel *CentredLabel(QWidget *Parent, const QString &ObjectName, const QString &Text, const QRect &Geometry,
                     const QFont &Font) {
    auto *Label = new QLabel(Text, Parent);
    Label->setObjectName(ObjectName);
    Label->setAlignment(Qt::AlignCenter);
    Label->setFont(Font);
    Label->setGeometry(Geometry);
    GrowToText(*Label);
    return Label;
}

} // namespace

TFormAbout::TFormAbout(IDialogs &Dialogs, QWidget *Parent) : QDialog(Parent), fDialogs(Dialogs) {
    using namespace ChildWindowLayout;
    Panel1 = SetUp(*this, QStringLiteral("FormAbout"));
    const auto Text = WindowFont(12);
    Label1 = CentredLabel(Panel1, QStringLiteral("Label1"), QStringLiteral("Tunewell"), {211, 22, 253, 25},
                          WindowFont(16, true));
    Label2 = CentredLabel(Panel1, QStringLiteral("Label2"), QStringLiteral("Developed by Marta Quintela"),
                          {228, 80, 209, 19}, Text);
    Label3 = CentredLabel(Panel1, QStringLiteral("Label3"), QStringLiteral("With the help of Otávio Brandt"),
                          {220, 105, 225, 19}, Text);
    Label4 =
        CentredLabel(Panel1, QStringLiteral("Label4"), QStringLiteral("Jan/2019"), {292, 152, 66, 19}, Text);
    Label6 = CentredLabel(Panel1, QStringLiteral("Label6"), QStringLiteral("Can be downloaded in my site:"),
                          {228, 225, 220, 19}, Text);
    LbSite = CentredLabel(Panel1, QStringLiteral("LbSite"), QString::fromLatin1(BuildValues::kMakerSite),
                          {230, 289, 217, 19}, WindowFont(12, true));
    auto Palette = LbSite->palette();
    // The system's menu-highlight colour.
    Palette.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    LbSite->setPalette(Palette);
    LbSite->setCursor(Qt::PointingHandCursor);
    LbSite->installEventFilter(this);
    BitBtn1 = AddCloseButton(Panel1, QStringLiteral("BitBtn1"), 608, 289, 97, 49);
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));
}

void TFormAbout::BitBtn1Click() {
    close();
}

void TFormAbout::LbSiteClick() {
    // Without a browser nothing happens: the outcome is not shown.
    fDialogs.OpenAddress(QString::fromLatin1(BuildValues::kMakerSite));
}

bool TFormAbout::eventFilter(QObject *Watched, QEvent *Event) {
    if (Watched == LbSite && Event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(Event)->button() == Qt::LeftButton)
        LbSiteClick();
    return QDialog::eventFilter(Watched, Event);
}

} // namespace Tunewell
