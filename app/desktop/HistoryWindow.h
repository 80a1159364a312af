#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace Tunewell {

class HistoryTableModel;
class IDialogs;
class StationFilterBar;
class TitleHistory;
struct HistoryEntry;

// Player → History: the titles heard, newest first, with a find row (every typed word in the
// title or the station, case and accents aside; Esc clears), copy of the selected titles, a web
// search for the selected one and "Save as…" text or CSV. A window of its own beside the main
// window, never modal; the entries are read, and a file written, off the UI thread.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    // Where a copy is saved: a file name, empty when the user declines. The name's ending
    // ".csv" chooses CSV, any other text.
    using AskFile = std::function<QString(QWidget *Parent)>;

    // The address a title is searched at, the title appended to it.
    static const QString WebSearchAddress;

    HistoryWindow(TitleHistory &History, IDialogs &Dialogs, AskFile Ask, QWidget *Parent);

    // Reads the entries again; Loaded follows when they are shown.
    void Reload();

    StationFilterBar *FindBar() const { return FindBar_; }
    QTableView *Grid() const { return Grid_; }
    HistoryTableModel &Model() const { return *Model_; }
    QPushButton *CopyButton() const { return CopyButton_; }
    QPushButton *SearchButton() const { return SearchButton_; }
    QPushButton *SaveButton() const { return SaveButton_; }
    QLabel *StatusLine() const { return Status_; }

signals:
    void Loaded();
    // A copy was saved, or saving it failed (as a message said).
    void SaveEnded();

private:
    std::vector<HistoryEntry> SelectedEntries() const;
    void CopySelected();
    void SearchSelected();
    void SaveAs();
    void FollowSelection();
    void ShowCount();

    TitleHistory &History_;
    IDialogs &Dialogs_;
    AskFile Ask_;
    HistoryTableModel *Model_;
    StationFilterBar *FindBar_;
    QTableView *Grid_;
    QPushButton *CopyButton_;
    QPushButton *SearchButton_;
    QPushButton *SaveButton_;
    QLabel *Status_;
    bool Loading_ = false;
};

} // namespace Tunewell
