#pragma once

#include "app/core/StationTable.h"
#include "app/ui/ChildWindows.h"
#include "app/ui/StationPlayer.h"
#include "shared/core/WindowCloud.h"
#include "shared/ui/MemoLog.h"
#include "shared/ui/WindowEnvironment.h"

#include <QMainWindow>
#include <QPixmap>
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

class ECloudFailure;
class KeptCatalogue;
class PlayerMenu;
class StationFilterBar;
class StationFilterModel;
class StationTableModel;
class StatusNotice;
struct KeptProfile;

// The main window: the station grid beside the player, five labels of the station being
// played, and the menu. Its handlers are split by concern: FormRadio.cpp (layout, child
// windows, themes), FormRadioStartUp.cpp (show, activation, close), FormRadioStations.cpp
// (playback, favourites, drawing and sorting), FormRadioKept.cpp (the kept catalogue and what
// the user is told when the cloud fails).
class TFormRadio : public QMainWindow {
    Q_OBJECT
public:
    TFormRadio(WindowEnvironment Environment, std::unique_ptr<IStationPlayer> Player,
               ChildWindowFactory Children, QWidget *Parent = nullptr);
    ~TFormRadio() override;

    // Handlers, named after their control and event.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormClose();
    void DBGrid1CellClick();
    void DBGrid1DrawColumnCell(QPainter *Canvas, const QStyleOptionViewItem &Cell, const QModelIndex &Index);
    void DBGrid1TitleClick(int Column);
    void Favorite1Click();
    void Include1Click();
    void Exclude1Click();
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

    // The start-up sequence (FormActivate), unless a run is already in progress; an error that
    // leaves it is reported. Runs at the first show and after each child window closes.
    void RunStartUpSequence();
    // Where each catalogue read from the cloud is kept, and read back when the cloud cannot be
    // reached; none by default. Set before the window is shown.
    void UseKeptCatalogue(std::shared_ptr<KeptCatalogue> Store);
    // The status-bar line saying which catalogue is shown when the cloud is unreachable.
    StatusNotice *CloudNotice() const { return CloudNotice_; }

    const WindowEnvironment &Environment() const { return Environment_; }
    WindowCloud &Cloud() { return Cloud_; }
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
    // Applies a change of the filter; the table's current row stays what it was.
    void ChangeFilter(const std::function<void()> &Change);
    // The find row's keys: Enter plays its first match as a click does, Down moves into the grid
    // on it. The first match is the table row shown first for the words typed; -1 for none.
    int FirstMatchRow() const;
    void PlayFirstMatch();
    void EnterGrid();
    void ApplyThemeItem(int Index);
    void OpenChildWindow(ChildWindow Kind);
    void PlayCurrentRow();
    void ShowNoProfileMessage();
    // Sets the current row's favoritos; the profile ID, or empty (after saying why) for no change.
    std::string MarkCurrentFavourite(const char *Mark);
    void ReportError(const std::exception &Error);
    // The node read as a JSON object; anything else is an error of the start-up sequence.
    Cumulo::TJSONValue ReadObject(const Cumulo::TStringDynArray &Path);
    // The same read as node text, written while the answer is parsed: for the catalogue, which
    // must never exist as a value tree.
    std::string ReadObjectText(const Cumulo::TStringDynArray &Path);
    void CheckForUpdate();
    void LoadCatalogue();
    // Where a catalogue, once read, becomes the grid's rows.
    void ShowCatalogue(std::vector<TStationRow> Rows);
    using NodeRead = std::function<Cumulo::TJSONValue(const Cumulo::TStringDynArray &Path)>;
    // The profile's last station played and its favourites marked, from the nodes Read gives
    // (the cloud's, or the kept ones); returns the nodes for keeping.
    KeptProfile RestoreProfileStations(const std::string &ProfileID, const NodeRead &Read);
    void WritePresenceOnline(const std::string &ProfileID);
    void ReportCloudFailure(const ECloudFailure &Failure);
    void ShowKeptCatalogue(const ECloudFailure &Failure);
    // Keeps the table with the profile's nodes once the grid has been drawn.
    void KeepCatalogue(KeptProfile Profile);

    WindowEnvironment Environment_;
    ChildWindowFactory Children_;
    std::unique_ptr<IStationPlayer> Wmp_;
    MemoLog Log_;
    WindowCloud Cloud_;
    std::shared_ptr<KeptCatalogue> Kept_;
    StatusNotice *CloudNotice_ = nullptr;
    // When the catalogue in the table was read from the cloud.
    std::time_t CatalogueReadAt_ = 0;
    std::array<QAction *, 10> ThemeItems_{};
    bool Shown_ = false;
    bool StartUpRunning_ = false;
    bool Filtering_ = false;
};

} // namespace Tunewell
