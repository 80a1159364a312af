#include "app/desktop/FormRadioRemote.h"

#include "Player/Wmp.h"
#include "app/core/StationTable.h"
#include "app/ui/FormRadio.h"

#include <QAbstractProxyModel>
#include <QTableView>

namespace Tunewell {

namespace {
QString Text(const std::string &Value) {
    return QString::fromStdString(Value);
}

// The models from the grid's own down to the station table's, each a proxy of the next.
std::vector<const QAbstractProxyModel *> ProxiesOf(const QAbstractItemModel *Model) {
    std::vector<const QAbstractProxyModel *> proxies;
    for (auto *proxy = qobject_cast<const QAbstractProxyModel *>(Model); proxy;
         proxy = qobject_cast<const QAbstractProxyModel *>(proxy->sourceModel()))
        proxies.push_back(proxy);
    return proxies;
}
} // namespace

FormRadioRemote::FormRadioRemote(TFormRadio &Form, Player::Wmp &Wmp, QObject *Parent)
    : PlayerRemote(Parent), Form_(Form), Wmp_(Wmp) {
    connect(&Wmp_, &Player::Wmp::playStateChanged, this, &PlayerRemote::StateChanged);
    connect(&Wmp_, &Player::Wmp::nowPlayingChanged, this, &PlayerRemote::TitleChanged);
    connect(&Wmp_, &Player::Wmp::volumeChanged, this, &PlayerRemote::VolumeChanged);
    connect(&Wmp_, &Player::Wmp::urlChanged, this, &FormRadioRemote::FollowUrl);
    const QAbstractItemModel *grid = Form_.DBGrid1->model();
    connect(grid, &QAbstractItemModel::modelReset, this, &PlayerRemote::RowsChanged);
    connect(grid, &QAbstractItemModel::layoutChanged, this, &PlayerRemote::RowsChanged);
    connect(grid, &QAbstractItemModel::rowsInserted, this, &PlayerRemote::RowsChanged);
    connect(grid, &QAbstractItemModel::rowsRemoved, this, &PlayerRemote::RowsChanged);
    FollowUrl();
}

void FormRadioRemote::FollowUrl() {
    PlayingRow_ = -1;
    Station_ = RemoteStation{QString(), Wmp_.URL(), QString()};
    if (const int row = PlayingRow(); row >= 0)
        Station_ = StationOfRow(row);
    emit StationChanged();
}

RemoteStation FormRadioRemote::StationOfRow(int Row) const {
    const TStationTable &table = Form_.cdsRadios;
    return {Text(table.DisplayText(Row, fpNome)), Text(table.DisplayText(Row, fpUrl)),
            Text(table.DisplayText(Row, fpSerie))};
}

int FormRadioRemote::PlayingRow() const {
    const TStationTable &table = Form_.cdsRadios;
    const std::string url = Wmp_.URL().toStdString();
    if (url.empty())
        return -1;
    const auto holdsUrl = [&](int Row) {
        return Row >= 0 && Row < table.RowCount() && table.DisplayText(Row, fpUrl) == url;
    };
    // The window plays its current row; the row last found serves until the table changes.
    for (const int row : {table.CurrentRow(), PlayingRow_})
        if (holdsUrl(row))
            return PlayingRow_ = row;
    for (int row = 0; row < table.RowCount(); ++row)
        if (holdsUrl(row))
            return PlayingRow_ = row;
    return PlayingRow_ = -1;
}

int FormRadioRemote::GridRowOf(int TableRow) const {
    if (TableRow < 0)
        return -1;
    const auto proxies = ProxiesOf(Form_.DBGrid1->model());
    if (proxies.empty())
        return TableRow;
    QModelIndex index = proxies.back()->sourceModel()->index(TableRow, 0);
    for (auto proxy = proxies.rbegin(); proxy != proxies.rend() && index.isValid(); ++proxy)
        index = (*proxy)->mapFromSource(index);
    return index.isValid() ? index.row() : -1;
}

int FormRadioRemote::TableRowOf(int GridRow) const {
    const QAbstractItemModel *grid = Form_.DBGrid1->model();
    QModelIndex index = grid->index(GridRow, 0);
    for (const QAbstractProxyModel *proxy : ProxiesOf(grid))
        index = proxy->mapToSource(index);
    return index.isValid() ? index.row() : -1;
}

int FormRadioRemote::GridRowCount() const {
    return Form_.DBGrid1->model()->rowCount();
}

int FormRadioRemote::StartingGridRow() const {
    if (const int playing = GridRowOf(PlayingRow()); playing >= 0)
        return playing;
    return Form_.DBGrid1->currentIndex().row();
}

void FormRadioRemote::PlayTableRow(int Row) {
    if (Row < 0)
        return;
    Form_.cdsRadios.SetCurrentRow(Row);
    Form_.DBGrid1CellClick();
}

void FormRadioRemote::PlayGridRow(int GridRow) {
    PlayTableRow(TableRowOf(GridRow));
}

Player::PlaybackState FormRadioRemote::State() const {
    return Wmp_.playState();
}

QString FormRadioRemote::Title() const {
    return Wmp_.nowPlaying();
}

RemoteStation FormRadioRemote::Station() const {
    return Station_;
}

int FormRadioRemote::Volume() const {
    return Wmp_.volume();
}

void FormRadioRemote::SetVolume(int Percent) {
    Wmp_.setVolume(Percent);
}

void FormRadioRemote::Play() {
    if (!Wmp_.URL().isEmpty())
        Wmp_.controls().play();
    else if (Form_.DBGrid1->currentIndex().isValid())
        PlaySelected();
    else
        Next();
}

void FormRadioRemote::Pause() {
    Wmp_.controls().pause();
}

void FormRadioRemote::Stop() {
    Wmp_.controls().stop();
}

void FormRadioRemote::Next() {
    const int count = GridRowCount();
    if (count == 0)
        return;
    const int from = StartingGridRow();
    PlayGridRow(from < 0 ? 0 : (from + 1) % count);
}

void FormRadioRemote::Previous() {
    const int count = GridRowCount();
    if (count == 0)
        return;
    const int from = StartingGridRow();
    PlayGridRow(from < 0 ? count - 1 : (from + count - 1) % count);
}

bool FormRadioRemote::CanGoNext() const {
    // One row that is already playing is nowhere to go.
    const int count = GridRowCount();
    return count > 1 || (count == 1 && GridRowOf(PlayingRow()) != 0);
}

bool FormRadioRemote::CanGoPrevious() const {
    return CanGoNext();
}

bool FormRadioRemote::CanPlay() const {
    return !Wmp_.URL().isEmpty() || GridRowCount() > 0;
}

void FormRadioRemote::PlaySelected() {
    const QModelIndex selected = Form_.DBGrid1->currentIndex();
    if (selected.isValid())
        PlayGridRow(selected.row());
}

std::vector<RemoteStation> FormRadioRemote::Favourites() const {
    const TStationTable &table = Form_.cdsRadios;
    std::vector<RemoteStation> favourites;
    for (int row = 0; row < table.RowCount(); ++row)
        if (table.DisplayText(row, fpFavoritos) == "1")
            favourites.push_back(StationOfRow(row));
    return favourites;
}

void FormRadioRemote::PlayFavourite(const QString &Serie) {
    if (Form_.cdsRadios.Locate("serie", Serie.toStdString()))
        Form_.DBGrid1CellClick();
}

} // namespace Tunewell
