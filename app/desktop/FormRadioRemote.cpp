#include "app/desktop/FormRadioRemote.h"

#include "Player/Wmp.h"
#include "app/core/StationTable.h"
#include "app/ui/FormRadio.h"
#include "app/ui/StationFilterModel.h"
#include "app/ui/StationTableModel.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QTableView>

namespace Tunewell {

FormRadioRemote::FormRadioRemote(TFormRadio &Form, Player::Wmp &Wmp, QObject *Parent)
    : PlayerRemote(Parent), Form_(Form), Wmp_(Wmp) {
    connect(&Wmp_, &Player::Wmp::playStateChanged, this, &PlayerRemote::StateChanged);
    connect(&Wmp_, &Player::Wmp::nowPlayingChanged, this, &PlayerRemote::TitleChanged);
    connect(&Wmp_, &Player::Wmp::volumeChanged, this, &PlayerRemote::VolumeChanged);
    connect(&Wmp_, &Player::Wmp::urlChanged, this, &FormRadioRemote::FollowStation);
    // Any change of the table's rows, however it came (a reload, a sort, a row edited in place),
    // may move, rename or remove the station playing.
    const StationTableModel *table = Form_.DataSource1.get();
    connect(table, &QAbstractItemModel::modelReset, this, &FormRadioRemote::FollowStation);
    connect(table, &QAbstractItemModel::layoutChanged, this, &FormRadioRemote::FollowStation);
    connect(table, &QAbstractItemModel::rowsInserted, this, &FormRadioRemote::FollowStation);
    connect(table, &QAbstractItemModel::rowsRemoved, this, &FormRadioRemote::FollowStation);
    connect(table, &QAbstractItemModel::dataChanged, this, &FormRadioRemote::FollowStation);
    const StationFilterModel *grid = Form_.Filter1.get();
    connect(grid, &QAbstractItemModel::modelReset, this, &PlayerRemote::RowsChanged);
    connect(grid, &QAbstractItemModel::layoutChanged, this, &PlayerRemote::RowsChanged);
    connect(grid, &QAbstractItemModel::rowsInserted, this, &PlayerRemote::RowsChanged);
    connect(grid, &QAbstractItemModel::rowsRemoved, this, &PlayerRemote::RowsChanged);
    FollowStation();
}

void FormRadioRemote::FollowStation() {
    PlayingRow_ = FindPlayingRow();
    RemoteStation station{QString(), Wmp_.URL(), QString()};
    if (PlayingRow_ >= 0)
        station = StationOfRow(PlayingRow_);
    if (station == Station_)
        return;
    Station_ = std::move(station);
    emit StationChanged();
}

RemoteStation FormRadioRemote::StationOfRow(int Row) const {
    const TStationTable &table = Form_.cdsRadios;
    return {QString::fromStdString(table.DisplayText(Row, fpNome)),
            QString::fromStdString(table.DisplayText(Row, fpUrl)),
            QString::fromStdString(table.DisplayText(Row, fpSerie))};
}

int FormRadioRemote::FindPlayingRow() const {
    const TStationTable &table = Form_.cdsRadios;
    const std::string url = Wmp_.URL().toStdString();
    if (url.empty())
        return -1;
    const auto holdsUrl = [&](int Row) {
        return Row >= 0 && Row < table.RowCount() && table.DisplayText(Row, fpUrl) == url;
    };
    // The window plays its current row; the row found last still serves after most changes.
    for (const int row : {table.CurrentRow(), PlayingRow_})
        if (holdsUrl(row))
            return row;
    for (int row = 0; row < table.RowCount(); ++row)
        if (holdsUrl(row))
            return row;
    return -1;
}

int FormRadioRemote::StartingRow() const {
    const StationFilterModel &grid = *Form_.Filter1;
    if (grid.IndexOfTableRow(PlayingRow_).isValid())
        return PlayingRow_;
    return grid.TableRow(Form_.DBGrid1->currentIndex());
}

int FormRadioRemote::NeighbourRow(int Step) const {
    const StationFilterModel &grid = *Form_.Filter1;
    const int row = grid.NeighbourRow(StartingRow(), Step);
    // Past either end the grid starts over.
    return row >= 0 ? row : grid.NeighbourRow(-1, Step);
}

void FormRadioRemote::PlayTableRow(int Row) {
    if (Row < 0)
        return;
    Form_.cdsRadios.SetCurrentRow(Row);
    RunHandlerTask(Form_.DBGrid1CellClick());
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
    if (CanGoNext())
        PlayTableRow(NeighbourRow(1));
}

void FormRadioRemote::Previous() {
    if (CanGoPrevious())
        PlayTableRow(NeighbourRow(-1));
}

bool FormRadioRemote::CanGoNext() const {
    // One row that is already playing is nowhere to go.
    const StationFilterModel &grid = *Form_.Filter1;
    const int shown = grid.rowCount();
    return shown > 1 || (shown == 1 && !grid.IndexOfTableRow(PlayingRow_).isValid());
}

bool FormRadioRemote::CanGoPrevious() const {
    return CanGoNext();
}

bool FormRadioRemote::CanPlay() const {
    return !Wmp_.URL().isEmpty() || Form_.Filter1->rowCount() > 0;
}

void FormRadioRemote::PlaySelected() {
    PlayTableRow(Form_.Filter1->TableRow(Form_.DBGrid1->currentIndex()));
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
        RunHandlerTask(Form_.DBGrid1CellClick());
}

} // namespace Tunewell
