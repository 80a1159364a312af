// Finding a station: the filter row below the grid and its items in the Player menu.
#include "app/ui/FormRadio.h"
#include "app/ui/PlayerMenu.h"
#include "app/ui/StationFilterBar.h"
#include "app/ui/StationFilterModel.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QTableView>

namespace Tunewell {

void TFormRadio::CreateFilterItems() {
    FindStation1 = Player1->AddItem(QStringLiteral("Find a station"), QKeySequence(Qt::CTRL | Qt::Key_F));
    FindStation1->setObjectName(QStringLiteral("FindStation1"));
    connect(FindStation1, &QAction::triggered, FilterBar1, &StationFilterBar::Focus);
    OnlyFavourites1 =
        Player1->AddItem(QStringLiteral("Only favourites"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    OnlyFavourites1->setObjectName(QStringLiteral("OnlyFavourites1"));
    OnlyFavourites1->setCheckable(true);
    connect(OnlyFavourites1, &QAction::toggled, this, [this](bool Only) {
        RunHandler([&] { ChangeFilter([&] { Filter1->SetOnlyFavourites(Only); }); });
    });
    connect(FilterBar1, &StationFilterBar::TextChanged, this, [this](const QString &Text) {
        RunHandler([&] { ChangeFilter([&] { Filter1->SetText(Text); }); });
    });
    connect(FilterBar1, &StationFilterBar::Left, this, [this] { DBGrid1->setFocus(); });
    connect(FilterBar1, &StationFilterBar::EnterPressed, this,
            [this] { RunHandler([&] { PlayFirstMatch(); }); });
    connect(FilterBar1, &StationFilterBar::DownPressed, this, [this] { RunHandler([&] { EnterGrid(); }); });
}

int TFormRadio::FirstMatchRow() const {
    // Without words every row matches, and none is the one looked for.
    if (FilterBar1->Field()->text().trimmed().isEmpty())
        return -1;
    return Filter1->NeighbourRow(-1, 1);
}

void TFormRadio::PlayFirstMatch() {
    const int row = FirstMatchRow();
    if (row < 0)
        return;
    cdsRadios.SetCurrentRow(row);
    DBGrid1CellClick();
}

void TFormRadio::EnterGrid() {
    if (const int row = FirstMatchRow(); row >= 0)
        cdsRadios.SetCurrentRow(row);
    DBGrid1->setFocus();
}

void TFormRadio::ChangeFilter(const std::function<void()> &Change) {
    Filtering_ = true;
    Change();
    Filtering_ = false;
    FollowCurrentRow(cdsRadios.CurrentRow());
}

int TFormRadio::ShownNeighbourRow(int Step) const {
    return Filter1->NeighbourRow(cdsRadios.CurrentRow(), Step);
}

} // namespace Tunewell
