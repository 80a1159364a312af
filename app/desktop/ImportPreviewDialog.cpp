#include "app/desktop/ImportPreviewDialog.h"

#include "app/core/StationTable.h"
#include "app/playlists/ImportPlan.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_map>

namespace Tunewell {

namespace {

QString Line(std::string_view Name, std::string_view Address) {
    return QStringLiteral("%1 \u2014 %2")
        .arg(QString::fromUtf8(Name.data(), static_cast<qsizetype>(Name.size())),
             QString::fromUtf8(Address.data(), static_cast<qsizetype>(Address.size())));
}

// Rows tall enough for the ink of accented capitals and descenders. Some fonts' ascent leaves
// the accents out (the windows' Tahoma draws the tilde of "\u00C3" two pixels above it), and a
// row only as tall as the font's height cuts them off; the text is centred, so the room goes on
// both sides.
class InkRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const override {
        QSize size = QStyledItemDelegate::sizeHint(Option, Index);
        const QFontMetrics &metrics = Option.fontMetrics;
        const QRect ink = metrics.tightBoundingRect(QStringLiteral(
            "\u00C3\u00C1\u00C2\u00C0\u00C9\u00CA\u00CD\u00D3\u00D4\u00D5\u00DA\u00C7\u00C5\u00D1gjpqy|"));
        const int over = std::max({0, -ink.top() - metrics.ascent(), ink.bottom() + 1 - metrics.descent()});
        size.setHeight(std::max(size.height(), metrics.height() + 2 * over));
        return size;
    }
};

QListWidget *List(const char *Name, const QString &Accessible, QWidget *Parent) {
    auto *list = new QListWidget(Parent);
    list->setItemDelegate(new InkRowDelegate(list));
    list->setObjectName(QString::fromLatin1(Name));
    list->setAccessibleName(Accessible);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    return list;
}

// The stations to star as the grid names them, in the plan's order.
void FillStars(QListWidget *List, const TImportPlan &Plan, const TStationTable &Table) {
    std::unordered_map<std::int64_t, const TStationRow *> bySerie;
    for (const TStationRow &row : Table.Rows()) {
        if (row.HasValue(fpSerie)) {
            bySerie.emplace(row.Number(fpSerie), &row);
        }
    }
    for (const std::int64_t serie : Plan.Star) {
        const auto row = bySerie.find(serie);
        // A table replaced since the plan was made may lack the row; its serie still says which.
        List->addItem(row == bySerie.end() ? QString::number(serie)
                                           : Line(row->second->Text(fpNome), row->second->Text(fpUrl)));
    }
}

QString SummaryText(const TImportPlan &Plan) {
    QString text;
    if (Plan.Star.empty() && Plan.Own.empty()) {
        text = QStringLiteral("Nothing to import: every station of the file is a favourite already. / Nada a "
                              "importar: todas as esta\u00E7\u00F5es do arquivo j\u00E1 s\u00E3o favoritas.");
    } else {
        text = QStringLiteral("Nothing is written until you choose Import. / Nada \u00E9 gravado at\u00E9 "
                              "voc\u00EA escolher Importar.");
        if (Plan.AlreadyFavourite > 0) {
            text += QStringLiteral("\nAlready favourites, left as they are: %1 / J\u00E1 favoritas, deixadas "
                                   "como est\u00E3o: %1")
                        .arg(Plan.AlreadyFavourite);
        }
    }
    if (Plan.NotStations > 0) {
        text += QStringLiteral("\n%1 entries skipped: not stations / %1 entradas ignoradas: n\u00E3o "
                               "s\u00E3o esta\u00E7\u00F5es")
                    .arg(Plan.NotStations);
    }
    return text;
}

QLabel *Caption(const char *Name, const QString &Text, std::size_t Count, QWidget *Parent) {
    auto *label = new QLabel(QStringLiteral("%1 (%2)").arg(Text).arg(Count), Parent);
    label->setObjectName(QString::fromLatin1(Name));
    return label;
}

} // namespace

bool ImportPreviewDialog::AskWithDialog(QWidget *Parent, const TImportPlan &Plan,
                                        const TStationTable &Table) {
    ImportPreviewDialog dialog(Plan, Table, Parent);
    return dialog.exec() == QDialog::Accepted;
}

ImportPreviewDialog::ImportPreviewDialog(const TImportPlan &Plan, const TStationTable &Table, QWidget *Parent)
    : QDialog(Parent) {
    setObjectName(QStringLiteral("ImportPreviewDialog"));
    setWindowTitle(QStringLiteral("Import stations / Importar esta\u00E7\u00F5es"));

    const QString starCaption = QStringLiteral("Get a star / Ganham estrela");
    StarList = List("StarList", starCaption, this);
    FillStars(StarList, Plan, Table);
    const QString ownCaption = QStringLiteral("Become your own stations / Viram esta\u00E7\u00F5es suas");
    OwnList = List("OwnList", ownCaption, this);
    for (const TPlaylistEntry &entry : Plan.Own) {
        OwnList->addItem(Line(entry.Title, entry.Address));
    }

    Summary = new QLabel(SummaryText(Plan), this);
    Summary->setObjectName(QStringLiteral("ImportSummary"));
    Summary->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    ImportButton = buttons->addButton(QStringLiteral("Import / Importar"), QDialogButtonBox::AcceptRole);
    ImportButton->setObjectName(QStringLiteral("BtImport"));
    ImportButton->setEnabled(!Plan.Star.empty() || !Plan.Own.empty());
    buttons->addButton(QStringLiteral("Cancel / Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Wide enough for a name and its address side by side, in the window's own font.
    setMinimumWidth(fontMetrics().averageCharWidth() * 72);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(Caption("StarCaption", starCaption, Plan.Star.size(), this));
    layout->addWidget(StarList);
    layout->addWidget(Caption("OwnCaption", ownCaption, Plan.Own.size(), this));
    layout->addWidget(OwnList);
    layout->addWidget(buttons);
}

} // namespace Tunewell
