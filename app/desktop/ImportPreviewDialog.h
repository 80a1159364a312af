#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace Tunewell {

class TStationTable;
struct TImportPlan;

// Import…: before anything is written, which stations of the file get a star (the table's, by
// name) and which become one's own (name and address), with the favourites already starred
// counted. OK imports, Cancel leaves everything as it was; with nothing to do OK is off.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // True when the listener chose to import.
    using Ask = std::function<bool(QWidget *Parent, const TImportPlan &Plan, const TStationTable &Table)>;
    static bool AskWithDialog(QWidget *Parent, const TImportPlan &Plan, const TStationTable &Table);

    ImportPreviewDialog(const TImportPlan &Plan, const TStationTable &Table, QWidget *Parent);

    QListWidget *StarList = nullptr;
    QListWidget *OwnList = nullptr;
    QLabel *Summary = nullptr;
    QPushButton *ImportButton = nullptr;
};

} // namespace Tunewell
