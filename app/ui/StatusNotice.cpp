#include "app/ui/StatusNotice.h"

#include <QEvent>
#include <QFontMetrics>
#include <QResizeEvent>
#include <algorithm>

namespace Tunewell {

namespace {

// Enough of a line to tell what it is about before its ellipsis.
constexpr int LeastCharacters = 24;

} // namespace

StatusNotice::StatusNotice(QWidget *Parent) : QLabel(Parent) {
    setObjectName(QStringLiteral("StatusNotice"));
    // Its whole line when the bar has room, less (down to its least) when the bar has not.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void StatusNotice::ShowNotice(const QString &Line, const QString &Explanation) {
    Line_ = Line;
    Explanation_ = Explanation;
    setToolTip(Explanation.isEmpty() || Explanation == Line ? Line : Line + u'\n' + Explanation);
    updateGeometry();
    Elide();
}

void StatusNotice::ClearNotice() {
    Line_.clear();
    Explanation_.clear();
    setToolTip({});
    clear();
    updateGeometry();
}

QSize StatusNotice::sizeHint() const {
    const int whole = Line_.isEmpty() ? 0 : fontMetrics().horizontalAdvance(Line_) + Around();
    return {whole, QLabel::sizeHint().height()};
}

QSize StatusNotice::minimumSizeHint() const {
    const int least = fontMetrics().averageCharWidth() * LeastCharacters + Around();
    return {std::min(sizeHint().width(), least), QLabel::minimumSizeHint().height()};
}

int StatusNotice::Around() const {
    // The frame and contents margins, the label's own margin on both sides, and a pixel that
    // keeps a line measured to the pixel from being elided.
    return width() - contentsRect().width() + 2 * margin() + 1;
}

void StatusNotice::resizeEvent(QResizeEvent *Event) {
    QLabel::resizeEvent(Event);
    Elide();
}

void StatusNotice::changeEvent(QEvent *Event) {
    QLabel::changeEvent(Event);
    if (Event->type() == QEvent::FontChange || Event->type() == QEvent::StyleChange) {
        updateGeometry();
        Elide();
    }
}

void StatusNotice::Elide() {
    const int room = contentsRect().width() - 2 * margin();
    setText(fontMetrics().elidedText(Line_, Qt::ElideRight, std::max(room, 0)));
}

} // namespace Tunewell
