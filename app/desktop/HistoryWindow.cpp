#include "app/desktop/HistoryWindow.h"

#include "app/core/FileDialogFolder.h"
#include "app/desktop/HistoryTableModel.h"
#include "app/desktop/TitleHistory.h"
#include "app/history/HistoryDatabase.h"
#include "app/history/HistoryExport.h"
#include "app/history/HistoryStore.h"
#include "app/ui/StationFilterBar.h"
#include "shared/ui/Dialogs.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace Tunewell {

const QString HistoryWindow::WebSearchAddress = QStringLiteral("https://duckduckgo.com/?q=");

namespace {
QString AskWithDialog(QWidget *Parent) {
    const QString chosen = QFileDialog::getSaveFileName(
        Parent, QStringLiteral("Save the history / Salvar o hist\u00F3rico"),
        QDir(FileDialogFolder(FileDialogKind::Document)).filePath(QStringLiteral("tunewell-history.txt")),
        QStringLiteral("Text / Texto (*.txt);;CSV (*.csv)"));
    RememberFileDialogChoice(chosen);
    return chosen;
}

QPushButton *AddButton(QHBoxLayout *Row, const char *Name, const QString &Caption, QWidget *Parent) {
    auto *button = new QPushButton(Caption, Parent);
    button->setObjectName(QString::fromLatin1(Name));
    button->setAccessibleName(Caption);
    Row->addWidget(button);
    return button;
}
} // namespace

HistoryWindow::HistoryWindow(TitleHistory &History, IDialogs &Dialogs, AskFile Ask, QWidget *Parent)
    : QWidget(Parent, Qt::Window), History_(History), Dialogs_(Dialogs),
      Ask_(Ask ? std::move(Ask) : AskWithDialog), Model_(new HistoryTableModel(this)),
      FindBar_(new StationFilterBar(this)), Grid_(new QTableView(this)), Status_(new QLabel(this)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("History / Hist\u00F3rico"));
    resize(640, 420);
    FindBar_->Field()->setPlaceholderText(QStringLiteral("title or station / t\u00EDtulo ou r\u00E1dio"));
    FindBar_->Field()->setAccessibleName(QStringLiteral("Find a title / Buscar um t\u00EDtulo"));

    Grid_->setObjectName(QStringLiteral("HistoryGrid"));
    Grid_->setAccessibleName(QStringLiteral("Titles heard / T\u00EDtulos ouvidos"));
    Grid_->setModel(Model_);
    Grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_->setWordWrap(false);
    // Tab leaves the grid for the buttons below it; the arrows walk the cells.
    Grid_->setTabKeyNavigation(false);
    Grid_->verticalHeader()->hide();
    // Fixed heights: ten thousand rows are laid out without measuring each.
    Grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid_->horizontalHeader()->setStretchLastSection(true);
    // Measured on a time of the widest digits, not on ten thousand rows.
    Grid_->setColumnWidth(HistoryTableModel::TimeColumn,
                          Grid_->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 16);
    Grid_->setColumnWidth(HistoryTableModel::StationColumn, 160);

    auto *buttons = new QHBoxLayout;
    CopyButton_ = AddButton(buttons, "CopyTitles", QStringLiteral("Copy / Copiar"), this);
    SearchButton_ = AddButton(buttons, "SearchWeb", QStringLiteral("Search the web / Buscar na web"), this);
    SaveButton_ =
        AddButton(buttons, "SaveHistory", QStringLiteral("Save as\u2026 / Salvar como\u2026"), this);
    Status_->setObjectName(QStringLiteral("HistoryStatus"));
    buttons->addWidget(Status_, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FindBar_);
    layout->addWidget(Grid_, 1);
    layout->addLayout(buttons);

    auto *copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    Grid_->addAction(copy);
    connect(copy, &QAction::triggered, this, Guarded([this] { CopySelected(); }));
    connect(CopyButton_, &QPushButton::clicked, this, Guarded([this] { CopySelected(); }));
    connect(SearchButton_, &QPushButton::clicked, this, Guarded([this] { SearchSelected(); }));
    connect(SaveButton_, &QPushButton::clicked, this, Guarded([this] { SaveAs(); }));
    connect(FindBar_, &StationFilterBar::TextChanged, this, [this](const QString &Text) {
        RunHandler([&] {
            Model_->SetFilterText(Text);
            ShowCount();
        });
    });
    connect(FindBar_, &StationFilterBar::Left, Grid_, qOverload<>(&QWidget::setFocus));
    connect(Grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryWindow::FollowSelection);
    connect(Model_, &QAbstractItemModel::modelReset, this, &HistoryWindow::FollowSelection);
    connect(&History_, &TitleHistory::Added, this, [this](const HistoryEntry &Entry) {
        // A list still being read gets the title with it.
        if (!Loading_) {
            Model_->Prepend(Entry);
            ShowCount();
        }
    });
    FollowSelection();
    Reload();
}

void HistoryWindow::Reload() {
    Loading_ = true;
    Status_->setText(QStringLiteral("Reading... / Lendo..."));
    QPointer<HistoryWindow> self(this);
    History_.Store().Load(HistoryDatabase::MostTitles, [self](HistoryList List) {
        if (!self)
            return;
        self->Loading_ = false;
        self->Model_->SetList(std::move(List));
        self->ShowCount();
        emit self->Loaded();
    });
}

void HistoryWindow::ShowCount() {
    const int shown = Model_->rowCount();
    const int all = Model_->EntryCount();
    Status_->setText(shown == all
                         ? QStringLiteral("%1 titles / t\u00EDtulos").arg(all)
                         : QStringLiteral("%1 of %2 titles / %1 de %2 t\u00EDtulos").arg(shown).arg(all));
}

std::vector<HistoryEntry> HistoryWindow::SelectedEntries() const {
    QModelIndexList rows = Grid_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &A, const QModelIndex &B) { return A.row() < B.row(); });
    std::vector<HistoryEntry> entries;
    for (const QModelIndex &row : rows)
        entries.push_back(Model_->EntryAt(row.row()));
    return entries;
}

void HistoryWindow::FollowSelection() {
    const bool any = Grid_->selectionModel()->hasSelection();
    CopyButton_->setEnabled(any);
    SearchButton_->setEnabled(any);
}

void HistoryWindow::CopySelected() {
    const auto entries = SelectedEntries();
    if (!entries.empty())
        QApplication::clipboard()->setText(QString::fromStdString(HistoryText(entries)));
}

void HistoryWindow::SearchSelected() {
    const auto entries = SelectedEntries();
    if (entries.empty())
        return;
    const QByteArray title = QUrl::toPercentEncoding(QString::fromStdString(entries.front().Title));
    if (!Dialogs_.OpenAddress(WebSearchAddress + QString::fromLatin1(title)))
        Dialogs_.ShowMessage(
            this, QStringLiteral("No browser could be opened. / Nenhum navegador p\u00F4de ser aberto."));
}

void HistoryWindow::SaveAs() {
    const QString file = Ask_(this);
    if (file.isEmpty())
        return;
    std::vector<HistoryEntry> entries;
    entries.reserve(static_cast<std::size_t>(Model_->rowCount()));
    for (int row = 0; row < Model_->rowCount(); ++row)
        entries.push_back(Model_->EntryAt(row));
    const bool csv = file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    SaveButton_->setEnabled(false);
    QPointer<HistoryWindow> self(this);
    History_.Store().Aside(
        [entries = std::move(entries), csv, path = file.toStdString()] {
            SaveHistoryFile(path, csv ? HistoryCsv(entries) : HistoryText(entries));
        },
        [self, file](std::string Error) {
            if (!self)
                return;
            self->SaveButton_->setEnabled(true);
            if (Error.empty())
                self->Status_->setText(QStringLiteral("Saved / Salvo: %1").arg(file));
            else
                self->Dialogs_.ShowMessage(
                    self, QStringLiteral("The history could not be saved. / O hist\u00F3rico "
                                         "n\u00E3o p\u00F4de ser salvo.\n%1: %2")
                              .arg(file, QString::fromStdString(Error)));
            emit self->SaveEnded();
        });
}

} // namespace Tunewell
