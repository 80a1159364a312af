#include "app/ui/StationLabelColouring.h"

#include "app/core/StationLabelColours.h"
#include "app/ui/QtScreenColour.h"

#include <QEvent>
#include <QLabel>

namespace Tunewell {

namespace {
void Colour(const std::vector<QLabel *> &Labels, ScreenColour Colour) {
    // The weight is the font's: a font property in a style sheet would replace the window's font
    // with the application's.
    const QString sheet =
        QStringLiteral("color: %1; background: transparent;").arg(ToQColor(Colour).name(QColor::HexRgb));
    for (QLabel *label : Labels)
        if (label->styleSheet() != sheet)
            label->setStyleSheet(sheet);
}
} // namespace

StationLabelColouring::StationLabelColouring(QWidget &Panel, std::vector<QLabel *> Captions,
                                             std::vector<QLabel *> Values)
    : QObject(&Panel), Panel_(Panel), Captions_(std::move(Captions)), Values_(std::move(Values)) {
    Panel_.installEventFilter(this);
    Apply();
}

bool StationLabelColouring::eventFilter(QObject *Watched, QEvent *Event) {
    // A new skin reaches the panel as a change of style, after the panel has been styled anew.
    if (Watched == &Panel_ && Event->type() == QEvent::StyleChange)
        Apply();
    return QObject::eventFilter(Watched, Event);
}

void StationLabelColouring::Apply() {
    Panel_.ensurePolished();
    const QPalette &skin = Panel_.palette();
    const StationLabelColours chosen = ChooseStationLabelColours(
        ToScreenColour(skin.color(Panel_.backgroundRole())),
        ToScreenColour(skin.color(Panel_.foregroundRole())), ToScreenColour(skin.color(QPalette::Highlight)));
    Colour(Captions_, chosen.Caption);
    Colour(Values_, chosen.Value);
}

} // namespace Tunewell
