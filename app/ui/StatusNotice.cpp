#include "app/ui/StatusNotice.h"

#include <QEvent>
#include <QFontMetrics>
#include <QResizeEvent>
#include <algorithm>

namespace Tunewell {

StatusNotice::StatusNotice(QWidget *Parent) : QLabel(Parent) {
    setObjectName(QStringLiteral("StatusNotice"));
    // The status bar gives it what is left; its own text must not widen the bar.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(0);
}

void StatusNotice::ShowNotice(const QString &Line, const QString &Explanation) {
    Line_ = Line;
    setToolTip(Explanation);
    Elide();
}

void StatusNotice::ClearNotice() {
    Line_.clear();
    setToolTip({});
    clear();
}

void StatusNotice::resizeEvent(QResizeEvent *Event) {
    QLabel::resizeEvent(Event);
    Elide();
}

void StatusNotice::changeEvent(QEvent *Event) {
    QLabel::changeEvent(Event);
    if (Event->type() == QEvent::FontChange || Event->type() == QEvent::StyleChange)
        Elide();
}

void StatusNotice::Elide() {
    const int room = contentsRect().width();
    setText(fontMetrics().elidedText(Line_, Qt::ElideRight, std::max(room, 0)));
}

} // namespace Tunewell
