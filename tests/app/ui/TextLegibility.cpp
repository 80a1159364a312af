#include "TextLegibility.h"

#include "WidgetPath.h"
#include "app/core/TextContrast.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>
#include <unordered_map>
#include <vector>

namespace Tunewell::Testing {

namespace {

struct TextPlace {
    QString What;
    // In the window's coordinates.
    QRect Rect;
};

ScreenColour ColourOf(QRgb Pixel) {
    return {qRed(Pixel), qGreen(Pixel), qBlue(Pixel)};
}

QString Hex(ScreenColour Colour) {
    return QStringLiteral("#%1%2%3")
        .arg(Colour.Red, 2, 16, QLatin1Char('0'))
        .arg(Colour.Green, 2, 16, QLatin1Char('0'))
        .arg(Colour.Blue, 2, 16, QLatin1Char('0'));
}

// A place inside Widget, Inset pixels from each edge, where borders and grid lines are not.
QRect InWindow(const QWidget &Widget, const QWidget &Window, const QRect &Rect, int Inset = 0) {
    const QRect inner = Rect.adjusted(Inset, Inset, -Inset, -Inset);
    return QRect(Widget.mapTo(&Window, inner.topLeft()), inner.size());
}

void AddLabel(const QLabel &Label, const QWidget &Window, std::vector<TextPlace> &Places) {
    if (Label.text().isEmpty())
        return;
    Places.push_back({QStringLiteral("%1 \"%2\"").arg(WidgetPath(&Label), Label.text()),
                      InWindow(Label, Window, Label.contentsRect())});
}

void AddEdit(const QLineEdit &Edit, const QWidget &Window, std::vector<TextPlace> &Places) {
    const QString Text = Edit.displayText().isEmpty() ? Edit.placeholderText() : Edit.displayText();
    if (Text.isEmpty())
        return;
    QStyleOptionFrame Option;
    Option.initFrom(&Edit);
    Option.rect = Edit.rect();
    Option.lineWidth =
        Edit.hasFrame() ? Edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, &Edit) : 0;
    QRect Contents = Edit.style()->subElementRect(QStyle::SE_LineEditContents, &Option, &Edit);
    Contents.setWidth(std::min(Contents.width(), Edit.fontMetrics().horizontalAdvance(Text) + 4));
    Places.push_back(
        {QStringLiteral("%1 \"%2\"").arg(WidgetPath(&Edit), Text), InWindow(Edit, Window, Contents)});
}

void AddView(const QAbstractItemView &View, const QWidget &Window, const QSet<QString> &PictureColumns,
             std::vector<TextPlace> &Places) {
    const QAbstractItemModel *Model = View.model();
    if (!Model)
        return;
    const QRect Shown = View.viewport()->rect();
    for (int Row = 0; Row < Model->rowCount(); ++Row) {
        for (int Column = 0; Column < Model->columnCount(); ++Column) {
            if (PictureColumns.contains(Model->headerData(Column, Qt::Horizontal).toString()))
                continue;
            const QModelIndex Index = Model->index(Row, Column);
            const QString Text = Index.data().toString();
            // Only whole cells: where the text of one cut short lies depends on its alignment.
            const QRect Cell = View.visualRect(Index);
            if (Text.isEmpty() || !Shown.contains(Cell))
                continue;
            Places.push_back(
                {QStringLiteral("%1 cell %2,%3 \"%4\"").arg(WidgetPath(&View)).arg(Row).arg(Column).arg(Text),
                 InWindow(*View.viewport(), Window, Cell, 2)});
        }
    }
}

void AddHeader(const QHeaderView &Header, const QWidget &Window, std::vector<TextPlace> &Places) {
    if (!Header.model() || !Header.isVisible())
        return;
    for (int Section = 0; Section < Header.count(); ++Section) {
        const QString Text = Header.model()->headerData(Section, Header.orientation()).toString();
        if (Text.isEmpty() || Header.isSectionHidden(Section))
            continue;
        const int Start = Header.sectionViewportPosition(Section);
        const int Size = Header.sectionSize(Section);
        const QRect Whole = Header.orientation() == Qt::Horizontal ? QRect(Start, 0, Size, Header.height())
                                                                   : QRect(0, Start, Header.width(), Size);
        if (!Header.viewport()->rect().contains(Whole))
            continue;
        Places.push_back({QStringLiteral("%1 section \"%2\"").arg(WidgetPath(&Header), Text),
                          InWindow(*Header.viewport(), Window, Whole, 2)});
    }
}

void AddMenuBar(const QMenuBar &Bar, const QWidget &Window, std::vector<TextPlace> &Places) {
    for (QAction *Action : Bar.actions()) {
        if (!Action->isVisible() || Action->isSeparator())
            continue;
        Places.push_back({QStringLiteral("%1 item \"%2\"").arg(WidgetPath(&Bar), Action->text()),
                          InWindow(Bar, Window, Bar.actionGeometry(Action), 2)});
    }
}

void AddButton(const QAbstractButton &Button, const QWidget &Window, std::vector<TextPlace> &Places) {
    if (Button.text().isEmpty())
        return;
    Places.push_back({QStringLiteral("%1 \"%2\"").arg(WidgetPath(&Button), Button.text()),
                      InWindow(Button, Window, Button.rect(), 3)});
}

std::vector<TextPlace> TextPlaces(QWidget &Window, const QSet<QString> &PictureColumns) {
    std::vector<TextPlace> Places;
    for (QWidget *Widget : Window.findChildren<QWidget *>()) {
        if (Widget->window() != &Window || !Widget->isVisibleTo(&Window))
            continue;
        if (const auto *Label = qobject_cast<const QLabel *>(Widget))
            AddLabel(*Label, Window, Places);
        else if (const auto *Edit = qobject_cast<const QLineEdit *>(Widget))
            AddEdit(*Edit, Window, Places);
        else if (const auto *Header = qobject_cast<const QHeaderView *>(Widget))
            AddHeader(*Header, Window, Places);
        else if (const auto *View = qobject_cast<const QAbstractItemView *>(Widget))
            AddView(*View, Window, PictureColumns, Places);
        else if (const auto *Bar = qobject_cast<const QMenuBar *>(Widget))
            AddMenuBar(*Bar, Window, Places);
        else if (const auto *Button = qobject_cast<const QAbstractButton *>(Widget))
            AddButton(*Button, Window, Places);
    }
    return Places;
}

} // namespace

QStringList IllegibleTexts(QWidget &Window, const QSet<QString> &PictureColumns) {
    const QImage Image = Window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal Scale = Image.devicePixelRatio();
    QStringList Illegible;
    for (const TextPlace &Place : TextPlaces(Window, PictureColumns)) {
        const QRect Pixels =
            QRect(QPoint(qRound(Place.Rect.left() * Scale), qRound(Place.Rect.top() * Scale)),
                  QPoint(qRound((Place.Rect.right() + 1) * Scale) - 1,
                         qRound((Place.Rect.bottom() + 1) * Scale) - 1))
                .intersected(Image.rect());
        std::unordered_map<QRgb, int> Counts;
        for (int Y = Pixels.top(); Y <= Pixels.bottom(); ++Y)
            for (int X = Pixels.left(); X <= Pixels.right(); ++X)
                ++Counts[Image.pixel(X, Y)];
        if (Counts.empty())
            continue;
        QRgb Behind = Counts.begin()->first;
        for (const auto &[Pixel, Count] : Counts)
            if (Count > Counts[Behind])
                Behind = Pixel;
        ScreenColour Text = ColourOf(Behind);
        for (const auto &[Pixel, Count] : Counts)
            if (ContrastRatio(ColourOf(Pixel), ColourOf(Behind)) > ContrastRatio(Text, ColourOf(Behind)))
                Text = ColourOf(Pixel);
        const double Ratio = ContrastRatio(Text, ColourOf(Behind));
        if (Ratio < LegibleContrast)
            Illegible << QStringLiteral("%1: %2:1, %3 on %4")
                             .arg(Place.What)
                             .arg(Ratio, 0, 'f', 1)
                             .arg(Hex(Text), Hex(ColourOf(Behind)));
    }
    return Illegible;
}

} // namespace Tunewell::Testing
