#include "app/ui/FormRadio.h"

#include "Tunewell/BuildValues.h"
#include "app/ui/GridCellDelegate.h"
#include "app/ui/GridTitleHeader.h"
#include "app/ui/LabelRow.h"
#include "app/ui/PlayerMenu.h"
#include "app/ui/StationFilterBar.h"
#include "app/ui/StationFilterModel.h"
#include "app/ui/StationLabelColouring.h"
#include "app/ui/StationTableModel.h"
#include "app/ui/StatusNotice.h"
#include "app/ui/ThemeManager.h"
#include "shared/core/WindowCloudFailure.h"
#include "shared/ui/GeneralErrorDisplay.h"
#include "shared/ui/WindowFont.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QNetworkInformation>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace Tunewell {

namespace {
constexpr int kMainClientWidth = 723;
constexpr int kMainClientHeight = 343;
const QPoint kChildOffset(6, 26);
// The least blank between two labels of a row, as between "Location" and "Quality" in Tahoma.
constexpr int kLabelGap = 4;
} // namespace

TFormRadio::TFormRadio(WindowEnvironment Environment, std::unique_ptr<IStationPlayer> Player,
                       ChildWindowFactory Children, QWidget *Parent)
    : QMainWindow(Parent), memRTDB(new QPlainTextEdit), Environment_(std::move(Environment)),
      Children_(std::move(Children)), Wmp_(std::move(Player)), Log_(*memRTDB),
      Steps_(Log_, WindowCloudRole::Main, Environment_.CloudClients, Environment_.CloudSettings) {
    setObjectName(QStringLiteral("FormRadio"));
    setWindowTitle(QStringLiteral("Tunewell %1").arg(QString::fromLatin1(BuildValues::kVersion)));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    CreateControls();
    CreateMenu();
    FormCreate();
    adjustSize();
    setFixedSize(size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    CloudRetry_.setSingleShot(true);
    connect(&CloudRetry_, &QTimer::timeout, this, [this] { RunStartUpSequence(); });
}

TFormRadio::~TFormRadio() = default;

template <class Handler> auto TFormRadio::Launched(Handler Run) {
    return [this, Run] { RunHandlerTask((this->*Run)()); };
}

QLabel *TFormRadio::CreateLabel(const char *Name, const QString &Text, int Left, int Top, bool Caption) {
    auto *label = new QLabel(Text, Panel1);
    label->setObjectName(QString::fromLatin1(Name));
    label->move(Left, Top);
    // Captions bold; their colours and the values' are the skin's (StationLabelColouring).
    label->setFont(WindowFont(8, Caption));
    label->adjustSize();
    return label;
}

void TFormRadio::PlaceStationLabels() {
    const int Right = DBGrid1->x() - kLabelGap;
    PlaceLabelRow({{Label5, 7}, {Label1, 43}}, kLabelGap, Right);
    PlaceLabelRow({{LabelNum, 7}, {LabelNome, 43}}, kLabelGap, Right);
    PlaceLabelRow({{Label4, 7}, {Label2, 146}, {Label3, 198}}, kLabelGap, Right);
    PlaceLabelRow({{LabelStyle, 7}, {LabelLocation, 146}, {LabelQualidade, 201}}, kLabelGap, Right);
}

void TFormRadio::CreateControls() {
    // The specified client area, with the row to find a station below it: the window grows by
    // that row and nothing specified moves.
    auto *client = new QWidget(this);
    auto *rows = new QVBoxLayout(client);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    Panel1 = new QWidget(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(kMainClientWidth, kMainClientHeight);
    FilterBar1 = new StationFilterBar(client);
    FilterBar1->setFixedWidth(kMainClientWidth);
    rows->addWidget(Panel1);
    rows->addWidget(FilterBar1);
    setCentralWidget(client);

    QWidget *player = Wmp_->Widget();
    player->setParent(Panel1);
    player->setObjectName(QStringLiteral("Wmp"));
    player->setGeometry(2, -1, 245, 240);

    CreateGrid();

    Label5 = CreateLabel("Label5", QStringLiteral("N\u00BA"), 7, 245, true);
    Label1 = CreateLabel("Label1", QStringLiteral("Radio"), 43, 245, true);
    LabelNum = CreateLabel("LabelNum", QStringLiteral("."), 7, 260, false);
    LabelNome = CreateLabel("LabelNome", QStringLiteral("."), 43, 260, false);
    Label4 = CreateLabel("Label4", QStringLiteral("Style"), 7, 286, true);
    Label2 = CreateLabel("Label2", QStringLiteral("Location"), 146, 286, true);
    Label3 = CreateLabel("Label3", QStringLiteral("Quality"), 198, 286, true);
    LabelStyle = CreateLabel("LabelStyle", QStringLiteral("."), 7, 302, false);
    LabelLocation = CreateLabel("LabelLocation", QStringLiteral("."), 146, 302, false);
    LabelQualidade = CreateLabel("LabelQualidade", QStringLiteral("."), 201, 302, false);
    PlaceStationLabels();
    new StationLabelColouring(*Panel1, {Label5, Label1, Label4, Label2, Label3},
                              {LabelNum, LabelNome, LabelStyle, LabelLocation, LabelQualidade});

    StatusBar1 = new QStatusBar(Panel1);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(1, 323, 721, 19);
    StatusBar1->setSizeGripEnabled(false);
    auto *panel = new QLabel(StatusBar1);
    panel->setFixedWidth(50);
    StatusBar1->addWidget(panel);
    CloudNotice_ = new StatusNotice(StatusBar1);
    StatusBar1->addWidget(CloudNotice_, 1);

    memRTDB->setParent(Panel1);
    memRTDB->setObjectName(QStringLiteral("memRTDB"));
    memRTDB->setGeometry(528, 120, 158, 37);
    memRTDB->setPlainText(QStringLiteral("memRTDB"));
    memRTDB->hide();

    EdtPath = new QLineEdit(QStringLiteral("RADIOS"), Panel1);
    EdtPath->setObjectName(QStringLiteral("EdtPath"));
    EdtPath->setGeometry(528, 48, 121, 21);
    EdtPath->hide();

    Edit1 = new QLineEdit(QStringLiteral("Edit1"), Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(528, 75, 121, 21);
    Edit1->hide();

    ImageList1.clear();
    for (int i = 0; i < 5; ++i)
        ImageList1.emplace_back(QStringLiteral(":/images/ImageList1/%1.xpm").arg(i));
}

void TFormRadio::CreateGrid() {
    DBGrid1 = new QTableView(Panel1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(244, 0, 470, 324);
    DBGrid1->setFrameShape(QFrame::NoFrame);
    DBGrid1->setHorizontalHeader(new GridTitleHeader(DBGrid1));
    DataSource1 = std::make_unique<StationTableModel>(cdsRadios);
    Filter1 = std::make_unique<StationFilterModel>(*DataSource1);
    DBGrid1->setModel(Filter1.get());
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setTabKeyNavigation(true);
    DBGrid1->setShowGrid(true);
    DBGrid1->setWordWrap(false);
    DBGrid1->setAccessibleName(QStringLiteral("Radio stations"));
    // Select all means nothing where one row at a time is selected.
    DBGrid1->setCornerButtonEnabled(false);
    DBGrid1->setItemDelegate(
        new GridCellDelegate([this](QPainter *Canvas, const QStyleOptionViewItem &Cell,
                                    const QModelIndex &Index) { DBGrid1DrawColumnCell(Canvas, Cell, Index); },
                             DBGrid1));

    auto *titles = DBGrid1->horizontalHeader();
    titles->setMouseTracking(true);
    titles->setStretchLastSection(false);
    // A title click sorts; it must not select the column as a table view would.
    disconnect(titles, &QHeaderView::sectionPressed, DBGrid1, nullptr);
    disconnect(titles, &QHeaderView::sectionEntered, DBGrid1, nullptr);
    // Each title keeps its whole text: a column is never narrower than its title needs.
    titles->ensurePolished();
    const std::array<int, 4> widths{30, 200, 140, 45};
    for (int column = 0; column < static_cast<int>(widths.size()); ++column)
        DBGrid1->setColumnWidth(column, std::max(widths[column], titles->sectionSizeHint(column)));

    // The row indicator column; fixed row heights keep a large catalogue cheap to lay out.
    auto *rows = DBGrid1->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(18);
    rows->setFixedWidth(12);
    rows->setSectionsClickable(false);

    connect(DBGrid1, &QTableView::clicked, this, Launched(&TFormRadio::DBGrid1CellClick));
    connect(titles, &QHeaderView::sectionClicked, this,
            [this](int Column) { RunHandler([&] { DBGrid1TitleClick(Column); }); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &Current) {
                RunHandler([&] {
                    // While the filter changes what is shown, the grid's own moves are not the user's.
                    const int row = Filter1->TableRow(Current);
                    if (!Filtering_ && row >= 0 && row != cdsRadios.CurrentRow())
                        cdsRadios.SetCurrentRow(row);
                });
            });
    connect(DataSource1.get(), &StationTableModel::TableCurrentRowChanged, this,
            [this](int Row) { RunHandler([&] { FollowCurrentRow(Row); }); });
}

void TFormRadio::FollowCurrentRow(int Row) {
    auto *selection = DBGrid1->selectionModel();
    const int column = std::max(0, selection->currentIndex().column());
    const QModelIndex index = Filter1->IndexOfTableRow(Row, column);
    // No row, or one the filter hides: nothing is highlighted.
    if (!index.isValid()) {
        selection->clear();
        return;
    }
    if (selection->currentIndex().row() == index.row() && selection->isRowSelected(index.row()))
        return;
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    DBGrid1->scrollTo(index);
}

void TFormRadio::CreateMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    Register1 = MainMenu1->addAction(QStringLiteral("Register  "));
    Register1->setObjectName(QStringLiteral("Register1"));
    connect(Register1, &QAction::triggered, this, Guarded([this] { Register1Click(); }));

    Skin1 = MainMenu1->addMenu(QStringLiteral("Skin  "));
    Skin1->setObjectName(QStringLiteral("Skin1"));
    const auto &themes = ThemeManager::Themes();
    for (int i = 0; i < static_cast<int>(themes.size()); ++i) {
        QAction *item = Skin1->addAction(QString::fromLatin1(themes[i].Caption));
        item->setObjectName(QString::fromLatin1(themes[i].ItemName));
        item->setCheckable(true);
        ThemeItems_[i] = item;
    }
    const std::array<void (TFormRadio::*)(), 10> handlers{
        &TFormRadio::Amethist1Click, &TFormRadio::Amakrits1Click, &TFormRadio::AquaLight1Click,
        &TFormRadio::Auric1Click,    &TFormRadio::Cobalt1Click,   &TFormRadio::Cyan1Click,
        &TFormRadio::Lavender1Click, &TFormRadio::Light1Click,    &TFormRadio::Sapphire1Click,
        &TFormRadio::Smokey1Click};
    for (int i = 0; i < static_cast<int>(handlers.size()); ++i)
        connect(ThemeItems_[i], &QAction::triggered, this,
                Guarded([this, handler = handlers[i]] { (this->*handler)(); }));
    Auric1 = ThemeItems_[3];
    Auric1->setChecked(true);

    Help1 = MainMenu1->addAction(QStringLiteral("Help  "));
    Help1->setObjectName(QStringLiteral("Help1"));
    connect(Help1, &QAction::triggered, this, Guarded([this] { Help1Click(); }));

    About1 = MainMenu1->addAction(QStringLiteral("About  "));
    About1->setObjectName(QStringLiteral("About1"));
    connect(About1, &QAction::triggered, this, Guarded([this] { About1Click(); }));

    Favorite1 = MainMenu1->addMenu(QStringLiteral("Favorite"));
    Favorite1->setObjectName(QStringLiteral("Favorite1"));
    connect(Favorite1, &QMenu::aboutToShow, this, Guarded([this] { Favorite1Click(); }));
    Include1 = Favorite1->addAction(QStringLiteral("Include"));
    Include1->setObjectName(QStringLiteral("Include1"));
    connect(Include1, &QAction::triggered, this, Launched(&TFormRadio::Include1Click));
    Exclude1 = Favorite1->addAction(QStringLiteral("Exclude"));
    Exclude1->setObjectName(QStringLiteral("Exclude1"));
    connect(Exclude1, &QAction::triggered, this, Launched(&TFormRadio::Exclude1Click));

    Player1 = new PlayerMenu(this);
    Player1->setObjectName(QStringLiteral("Player1"));
    MainMenu1->addMenu(Player1);
    CreateFilterItems();
    CreateOwnStationItems();
}

void TFormRadio::FormCreate() {
    // The table is made empty and open with its fields; the grid already follows it.
    if (!cdsRadios.IsOpen())
        cdsRadios.Open();
}

void TFormRadio::showEvent(QShowEvent *Event) {
    QMainWindow::showEvent(Event);
    if (Shown_ || Event->spontaneous())
        return;
    Shown_ = true;
    // After the window is on screen, as the first show and activation follow each other.
    QTimer::singleShot(0, this, Launched(&TFormRadio::StartUp));
}

void TFormRadio::ApplyThemeItem(int Index) {
    ThemeManager::Apply(QString::fromLatin1(ThemeManager::Themes().at(Index).ThemeName),
                        &Environment_.Dialogs, this);
    for (int i = 0; i < static_cast<int>(ThemeItems_.size()); ++i)
        ThemeItems_[i]->setChecked(i == Index);
}

void TFormRadio::Amethist1Click() {
    ApplyThemeItem(0);
}
void TFormRadio::Amakrits1Click() {
    ApplyThemeItem(1);
}
void TFormRadio::AquaLight1Click() {
    ApplyThemeItem(2);
}
void TFormRadio::Auric1Click() {
    ApplyThemeItem(3);
}
void TFormRadio::Cobalt1Click() {
    ApplyThemeItem(4);
}
void TFormRadio::Cyan1Click() {
    ApplyThemeItem(5);
}
void TFormRadio::Lavender1Click() {
    ApplyThemeItem(6);
}
void TFormRadio::Light1Click() {
    ApplyThemeItem(7);
}
void TFormRadio::Sapphire1Click() {
    ApplyThemeItem(8);
}
void TFormRadio::Smokey1Click() {
    ApplyThemeItem(9);
}

void TFormRadio::OpenChildWindow(ChildWindow Kind) {
    std::unique_ptr<QDialog> child = Children_ ? Children_(Kind, *this) : nullptr;
    if (!child)
        return;
    child->move(frameGeometry().topLeft() + kChildOffset);
    child->exec();
    // Released once the messages already queued for it have been handled; a child window ends
    // its own cloud steps before it closes.
    child.release()->deleteLater();
    // The catalogue and the favourites are read again; what plays stays as it is.
    RunStartUpSequence();
}

void TFormRadio::Register1Click() {
    OpenChildWindow(ChildWindow::Register);
}
void TFormRadio::Help1Click() {
    OpenChildWindow(ChildWindow::Help);
}
void TFormRadio::About1Click() {
    OpenChildWindow(ChildWindow::About);
}

bool TFormRadio::CloudIdle() const {
    return Steps_.Sequencer().Idle();
}

void TFormRadio::WatchNetwork() {
    // Where the platform tells when the network comes back, the cloud is tried again at once;
    // elsewhere the back-off's waits alone bring it back. Asked once the cloud was missed: the
    // platform's answer takes a connection of its own.
    if (WatchingNetwork_)
        return;
    WatchingNetwork_ = true;
    if (!QNetworkInformation::instance() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability Reachability) {
                if (Reachability == QNetworkInformation::Reachability::Online)
                    TryCloudAgainNow();
            });
}

void TFormRadio::ReportError(const std::exception &Error) {
    Environment_.Dialogs.ShowError(this, QString::fromStdString(Error.what()));
}

} // namespace Tunewell
