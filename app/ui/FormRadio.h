#pragma once

#include "Cumulo/ReconnectBackoff.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/OwnStation.h"
#include "app/core/StationTable.h"
#include "app/playlists/ImportPlan.h"
#include "app/ui/ChildWindows.h"
#include "app/ui/OwnStationDialog.h"
#include "app/ui/StationPlayer.h"
#include "shared/core/LocalCloudStarter.h"
#include "shared/core/WindowCloud.h"
#include "shared/core/WindowCloudFailure.h"
#include "shared/ui/MemoLog.h"
#include "shared/ui/WindowCloudSteps.h"
#include "shared/ui/WindowEnvironment.h"

#include <QCoroTask>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QStatusBar;
class QStyleOptionViewItem;
class QTableView;

namespace Tunewell {

class PlayerMenu;
class StationFilterBar;
class StationFilterModel;
class StationTableModel;
class StatusNotice;

// The main window: the station grid beside the player, five labels of the station being
// played, and the menu. Its handlers are split by concern: FormRadio.cpp (layout, child
// windows, themes), FormRadioStartUp.cpp (show, activation, close), FormRadioStations.cpp
// (playback, favourites, drawing and sorting), FormRadioKept.cpp (the kept catalogue and what
// the user is told when the cloud fails), FormRadioOwnStations.cpp (the Stations menu: stations of
// the listener's own).
class TFormRadio : public QMainWindow {
    Q_OBJECT
public:
    TFormRadio(WindowEnvironment Environment, std::unique_ptr<IStationPlayer> Player,
               ChildWindowFactory Children, QWidget *Parent = nullptr);
    ~TFormRadio() override;

    // What a run of the start-up sequence is: the start plays the last station (when nothing plays
    // yet); a refresh (after a child window closes, or a retry) reads the cloud anew and leaves the
    // player as the listener left it.
    enum class RunKind { Start, Refresh };

    // Handlers, named after their control and event. Those that talk to the cloud are coroutines:
    // each waits for the window's turn, runs its cloud steps off the UI thread in the specified
    // order, and goes on on the UI thread with their results.
    void FormCreate();
    QCoro::Task<> FormShow(const CloudTurn &Turn);
    QCoro::Task<> FormActivate(const CloudTurn &Turn, RunKind Kind);
    QCoro::Task<> FormClose();
    QCoro::Task<> DBGrid1CellClick();
    void DBGrid1DrawColumnCell(QPainter *Canvas, const QStyleOptionViewItem &Cell, const QModelIndex &Index);
    void DBGrid1TitleClick(int Column);
    void Favorite1Click();
    QCoro::Task<> Include1Click();
    QCoro::Task<> Exclude1Click();
    void Register1Click();
    void Help1Click();
    void About1Click();
    void Amethist1Click();
    void Amakrits1Click();
    void AquaLight1Click();
    void Auric1Click();
    void Cobalt1Click();
    void Cyan1Click();
    void Lavender1Click();
    void Light1Click();
    void Sapphire1Click();
    void Smokey1Click();
    // The Stations menu. Each write waits for the window's turn; the grid changes once the cloud
    // has acknowledged it.
    QCoro::Task<> AddOwnStation1Click();
    QCoro::Task<> EditOwnStation1Click();
    QCoro::Task<> RemoveOwnStation1Click();
    // Import… reads a playlist file off the UI thread and, after its preview, stars the catalogue's
    // stations it names and adds the others as one's own, in one turn. Export… writes the
    // favourites and one's own stations as M3U, or PLS for a name ending in .pls.
    QCoro::Task<> Import1Click();
    QCoro::Task<> Export1Click();

    // A refresh: the start-up sequence run again in the background, after the cloud steps asked
    // before it. A request while one waits for its turn merges into that one. Runs after each
    // child window closes and when the cloud is tried again.
    void RunStartUpSequence();
    // The labels of the station shown name a sound that is no station (the alarm's fallback
    // sound) and leave the station's other fields empty.
    void ShowSoundLabels(const QString &Name);
    // Where each catalogue read from the cloud is kept, and read back when the cloud cannot be
    // reached; none by default. Set before the window is shown: its reading starts at once.
    void UseKeptCatalogue(std::shared_ptr<KeptCatalogue> Store);
    // Starts the program's own local cloud when a run finds nothing answering there, before it
    // signs in; none by default.
    void UseLocalCloudStarter(std::shared_ptr<ILocalCloudStarter> Starter);
    // The status-bar line saying which catalogue is shown until the cloud has answered.
    StatusNotice *CloudNotice() const { return CloudNotice_; }
    // No cloud sequence runs or waits.
    bool CloudIdle() const;
    // The close has begun: the window is gone from the screen and its close record is on its way.
    bool Closing() const { return CloseStarted_; }

    const WindowEnvironment &Environment() const { return Environment_; }
    WindowCloud &Cloud() { return Steps_.Cloud(); }
    IStationPlayer &Wmp() { return *Wmp_; }
    QAction *ThemeItem(int Index) const { return ThemeItems_.at(Index); }

    // Controls, as the window's resource names them.
    QWidget *Panel1 = nullptr;
    QTableView *DBGrid1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *LabelNum = nullptr;
    QLabel *LabelNome = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *LabelStyle = nullptr;
    QLabel *LabelLocation = nullptr;
    QLabel *LabelQualidade = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QPlainTextEdit *memRTDB = nullptr;
    QLineEdit *EdtPath = nullptr;
    QLineEdit *Edit1 = nullptr;
    QMenuBar *MainMenu1 = nullptr;
    QAction *Register1 = nullptr;
    QMenu *Skin1 = nullptr;
    QAction *Help1 = nullptr;
    QAction *About1 = nullptr;
    QMenu *Favorite1 = nullptr;
    QAction *Include1 = nullptr;
    QAction *Exclude1 = nullptr;
    QAction *Auric1 = nullptr;
    // The commands beyond the specified menu, after "Favorite".
    PlayerMenu *Player1 = nullptr;
    // Stations of the listener's own, after "Player"; they need a profile.
    PlayerMenu *Stations1 = nullptr;
    QAction *AddOwnStation1 = nullptr;
    QAction *EditOwnStation1 = nullptr;
    QAction *RemoveOwnStation1 = nullptr;
    QAction *Import1 = nullptr;
    QAction *Export1 = nullptr;
    // How a station of one's own is asked for: the dialog, or a test's answer.
    OwnStationDialog::Ask AskOwnStation = &OwnStationDialog::AskWithDialog;
    // The files Import… reads and Export… writes (empty: cancelled), and the import's preview
    // (true: import), which the program binds to its dialog; without one nothing is imported.
    using AskFile = std::function<QString(QWidget *Parent)>;
    AskFile AskImportFile = &TFormRadio::AskImportFileWithDialog;
    AskFile AskExportFile = &TFormRadio::AskExportFileWithDialog;
    std::function<bool(QWidget *Parent, const TImportPlan &Plan, const TStationTable &Table)>
        AskImportPreview;
    static QString AskImportFileWithDialog(QWidget *Parent);
    static QString AskExportFileWithDialog(QWidget *Parent);
    // The profile's own stations shown in the grid.
    const std::vector<TOwnStation> &OwnStations() const { return OwnStations_; }
    std::vector<QPixmap> ImageList1;

    // The station table behind the grid, and the grid's model of it (the grid's data source).
    TStationTable cdsRadios;
    // Owned here rather than by the window, so that it lets go of cdsRadios before the table
    // goes; the window's children are destroyed only after its members.
    std::unique_ptr<StationTableModel> DataSource1;
    // What the grid shows of DataSource1: the rows the station filter lets through, no copies.
    std::unique_ptr<StationFilterModel> Filter1;
    // The row to find a station, and its two items in the Player menu.
    StationFilterBar *FilterBar1 = nullptr;
    QAction *FindStation1 = nullptr;
    QAction *OnlyFavourites1 = nullptr;

    // The table row Step rows after (negative: before) the current one among the rows the grid
    // shows, in its order; -1 when there is none.
    int ShownNeighbourRow(int Step) const;
    // The serie of the profile's last station as read from the cloud.
    std::string last_radio;

signals:
    // A run of the start-up sequence ended, completed or not.
    void StartUpSequenceFinished();
    // The catalogue of a completed run was kept (or keeping it failed, as the log memo says).
    void CatalogueKept();
    // The window was closed: its close record is on its way.
    void CloseRequested();
    // The close record was written, or failed: nothing more is sent, the program may end.
    void Closed();

protected:
    void showEvent(QShowEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;

private:
    void CreateControls();
    void CreateGrid();
    void CreateMenu();
    QLabel *CreateLabel(const char *Name, const QString &Text, int Left, int Top, bool Caption);
    // The captions and the shown station's fields, each row sized to its texts beside the grid.
    void PlaceStationLabels();
    void FollowCurrentRow(int Row);
    void CreateFilterItems();
    void CreateOwnStationItems();
    void CreatePlaylistItems();
    QCoro::Task<> ApplyImport(std::string ProfileID, TImportPlan Plan);
    // Without a profile the Stations menu's commands are disabled and say why.
    void UpdateOwnStationItems();
    // The own station of the current row; none (after saying why) for a catalogue row.
    std::optional<TOwnStation> CurrentOwnStation();
    // The own stations shown, and the last station played when it was one: no new station takes
    // a serie of these.
    std::vector<TOwnStation> KnownOwnStations() const;
    // Signed in for a write in Turn, or "Algo deu errado!" shown and false.
    QCoro::Task<bool> SignedInForWrite(const CloudTurn &Turn);
    // Rows replaced or dropped without moving the grid's scroll position.
    void KeepingScroll(const std::function<void()> &Change);
    // Applies a change of the filter; the table's current row stays what it was.
    void ChangeFilter(const std::function<void()> &Change);
    // The find row's keys: Enter plays its first match as a click does, Down moves into the grid
    // on it. The first match is the table row shown first for the words typed; -1 for none.
    int FirstMatchRow() const;
    void PlayFirstMatch();
    void EnterGrid();
    void ApplyThemeItem(int Index);
    void OpenChildWindow(ChildWindow Kind);
    // Runs a handler coroutine from a signal; its errors are reported.
    template <class Handler> auto Launched(Handler Run);
    void PlayCurrentRow();
    // The current row's fields in the five labels (num as given).
    void ShowStationLabels(int Row);
    // LabelNum for Row: Number, or the grid's mark for a station of one's own.
    void ShowStationNumber(int Row, const QString &Number);
    void ShowNoProfileMessage();
    static const QString &NoProfileText();
    void ShowSomethingWentWrong();
    // Sets the current row's favoritos; the profile ID, or empty (after saying why) for no change.
    std::string MarkCurrentFavourite(const char *Mark);
    void ReportError(const std::exception &Error);

    // A cloud step of the window's running sequence: Work(WindowCloud &) off the UI thread.
    template <class Work> auto Step(const CloudTurn &Turn, Work Job);
    // The start: the kept catalogue first, then the specified show and activation.
    QCoro::Task<> StartUp();
    // One run of the start-up sequence, in its turn; what failed is reported once the turn is given up.
    QCoro::Task<> RunSequence(RunKind Kind);
    // The local cloud started when it must be, the status line saying so meanwhile; a cloud that
    // could not be started is an unreachable one, for the reason the starter gives.
    QCoro::Task<> StartLocalCloudIfNeeded(const CloudTurn &Turn);
    // The node read as a JSON object; anything else is an error of the start-up sequence.
    QCoro::Task<Cumulo::TJSONValue> ReadObject(const CloudTurn &Turn, Cumulo::TStringDynArray Path);
    QCoro::Task<> CheckForUpdate(const CloudTurn &Turn);
    // The catalogue, and with a profile its own stations, in place of the rows shown.
    QCoro::Task<> LoadCatalogue(const CloudTurn &Turn, std::string ProfileID);
    // The profile's last station played (at a start) and its favourites marked, read from the
    // cloud; returns the nodes for keeping.
    QCoro::Task<KeptProfile> RestoreProfileStations(const CloudTurn &Turn, std::string ProfileID,
                                                    RunKind Kind);
    QCoro::Task<> WritePresenceOnline(const CloudTurn &Turn, std::string ProfileID);
    // Keeps the catalogue as the cloud gave it with the profile's nodes.
    QCoro::Task<> KeepCatalogue(const CloudTurn &Turn, KeptProfile Profile);

    // Rows that replace those shown in place: the sort, the filter, the selection, the scroll
    // position and the station playing stay; the labels of that station follow its new row.
    void ReplaceRowsInPlace(std::vector<TStationRow> Rows, const std::string &SortedBy);
    // At a start only, and only while nothing has been played: plays the row of Serie.
    void PlayLastStation(const std::string &Serie, RunKind Kind);
    // The favourites' marks of a FAVORITOS node; the selection stays.
    void MarkFavourites(const Cumulo::TJSONValue &Node);
    // The table row of the station given to the player last, or -1; the current row stays.
    int PlayingRow() const;

    // The kept catalogue, read off the UI thread as the window is being shown.
    QCoro::Task<> ShowKeptCatalogueFirst();
    // The kept copy's rows, and its profile's nodes when that profile is the one signed in now.
    void ShowKeptCopy(KeptCatalogueRead Kept, const QString &Line, const QString &Explanation);
    QCoro::Task<> ReportCloudFailure(ECloudFailure Failure);
    // A refusal is told, never answered from the kept copy.
    void ReportRefusal(const QString &Explanation);
    QCoro::Task<> ShowKeptCatalogue(ECloudFailure Failure);
    // The cloud is tried again by itself: after the back-off's wait, or at once when the network
    // comes back.
    void TryCloudAgainLater();
    void TryCloudAgainNow();
    void WatchNetwork();

    WindowEnvironment Environment_;
    ChildWindowFactory Children_;
    std::unique_ptr<IStationPlayer> Wmp_;
    MemoLog Log_;
    WindowCloudSteps Steps_;
    std::shared_ptr<KeptCatalogue> Kept_;
    std::shared_ptr<ILocalCloudStarter> LocalCloud_;
    // The kept file's read, under way from UseKeptCatalogue until the start takes it.
    std::optional<QCoro::Task<KeptCatalogueRead>> KeptRead_;
    StatusNotice *CloudNotice_ = nullptr;
    // When the catalogue in the table was read from the cloud; 0 while the kept one is shown.
    std::time_t CatalogueReadAt_ = 0;
    // The catalogue as the last run read it, its own marks untouched, until it is kept.
    std::shared_ptr<const std::vector<TStationRow>> CatalogueAsRead_;
    // The profile's own stations shown, and their node as the last run read it, until it is kept.
    std::vector<TOwnStation> OwnStations_;
    std::optional<Cumulo::TJSONValue> OwnAsRead_;
    // When the kept catalogue shown was read from the cloud; 0 when it is not shown.
    std::time_t KeptShownReadAt_ = 0;
    // Why the kept file could not be used, when it could not.
    std::string KeptProblem_;
    // The serie of the station given to the player last; empty before the first.
    std::string PlayingSerie_;
    std::array<QAction *, 10> ThemeItems_{};
    QTimer CloudRetry_;
    // The waits between two tries of an unreachable cloud: the first soon, then doubling.
    Cumulo::TReconnectBackoff CloudBackoff_{std::chrono::seconds(2), std::chrono::minutes(2)};
    bool Shown_ = false;
    // A run waits for its turn: later requests merge into it.
    bool RunQueued_ = false;
    // A start has reached its end once: later runs are refreshes.
    bool Started_ = false;
    bool CloseStarted_ = false;
    bool WatchingNetwork_ = false;
    bool Filtering_ = false;
};

template <class Work> auto TFormRadio::Step(const CloudTurn &Turn, Work Job) {
    return Steps_.Run(Turn, std::move(Job));
}

} // namespace Tunewell
