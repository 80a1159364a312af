// The main window's station handlers: playback on a click, favourites, the Fav column and
// sorting by a title.
#include "app/ui/FormRadio.h"
#include "app/ui/OrdenarTituloGrid.h"
#include "app/ui/StationFilterModel.h"
#include "app/ui/StationTableModel.h"
#include "shared/core/WindowCloudProfileID.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyleOptionViewItem>
#include <QTableView>

namespace Tunewell {

namespace {

const QString kNeedsProfile = QStringLiteral(
    "To use this feature, you need to register!\rPara usar este recurso, voc\u00EA precisa se registrar!");
const QString kSomethingWentWrong = QStringLiteral("Algo deu errado!");
} // namespace

void TFormRadio::PlayCurrentRow() {
    Wmp_->SetURL(QString::fromStdString(cdsRadios.FieldText(fpUrl)));
    Wmp_->Play();
    PlayingSerie_ = cdsRadios.FieldText(fpSerie);
    ShowStationLabels(cdsRadios.CurrentRow());
    DBGrid1->setFocus();
}

void TFormRadio::ShowStationLabels(int Row) {
    LabelNome->setText(QString::fromStdString(cdsRadios.DisplayText(Row, fpNome)));
    LabelStyle->setText(QString::fromStdString(cdsRadios.DisplayText(Row, fpEstilo)));
    LabelLocation->setText(QString::fromStdString(cdsRadios.DisplayText(Row, fpLocal)));
    LabelQualidade->setText(QString::fromStdString(cdsRadios.DisplayText(Row, fpQualidade)));
    ShowStationNumber(Row, QString::fromStdString(cdsRadios.DisplayText(Row, fpNum)));
    PlaceStationLabels();
}

void TFormRadio::ShowSoundLabels(const QString &Name) {
    LabelNome->setText(Name);
    for (QLabel *label : {LabelStyle, LabelLocation, LabelQualidade, LabelNum})
        label->clear();
    PlaceStationLabels();
}

void TFormRadio::ShowStationNumber(int Row, const QString &Number) {
    // A station of one's own has no number: the label marks it as the grid does.
    LabelNum->setText(cdsRadios.IsOwn(Row) ? StationTableModel::OwnStationMark() : Number);
}

QCoro::Task<> TFormRadio::DBGrid1CellClick() {
    if (cdsRadios.CurrentRow() < 0)
        co_return;
    const std::string profileID = ReadProfileID();
    const std::string num = cdsRadios.FieldText(fpNum);
    ShowStationNumber(cdsRadios.CurrentRow(),
                      num.empty() ? QStringLiteral("0") : QString::fromStdString(num));
    Edit1->setText(QString::fromStdString(cdsRadios.FieldText(fpUrl)));
    LabelNome->setText(QString::fromStdString(cdsRadios.FieldText(fpNome)));
    LabelStyle->setText(QString::fromStdString(cdsRadios.FieldText(fpEstilo)));
    LabelLocation->setText(QString::fromStdString(cdsRadios.FieldText(fpLocal)));
    LabelQualidade->setText(QString::fromStdString(cdsRadios.FieldText(fpQualidade)));
    PlaceStationLabels();
    Wmp_->SetURL(QString::fromStdString(cdsRadios.FieldText(fpUrl)));
    Wmp_->Play();
    PlayingSerie_ = cdsRadios.FieldText(fpSerie);
    if (profileID.empty())
        co_return;
    // The station plays at once; its record waits for the cloud steps asked before it.
    Cumulo::TJSONValue record = Cumulo::TJSONValue::object();
    record["Serie"] = PlayingSerie_;
    const CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    turn.CheckMayGoOn();
    if (!Cloud().Authenticated() &&
        !(co_await Step(turn, [](WindowCloud &Cloud) { return Cloud.SignIn(); })).Succeeded) {
        Environment_.Dialogs.ShowMessage(this, kSomethingWentWrong);
        co_return;
    }
    Log_.Clear();
    const auto path = WindowCloud::SplitPath("CADASTRADO/" + profileID + "/LAST");
    co_await Step(turn, [&path, &record](WindowCloud &Cloud) { Cloud.Patch(path, record); });
}

void TFormRadio::ShowNoProfileMessage() {
    Environment_.Dialogs.ShowMessage(this, kNeedsProfile);
}

const QString &TFormRadio::NoProfileText() {
    return kNeedsProfile;
}

void TFormRadio::ShowSomethingWentWrong() {
    Environment_.Dialogs.ShowMessage(this, kSomethingWentWrong);
}

void TFormRadio::Favorite1Click() {
    if (ReadProfileID().empty())
        ShowNoProfileMessage();
}

std::string TFormRadio::MarkCurrentFavourite(const char *Mark) {
    const std::string profileID = ReadProfileID();
    if (profileID.empty()) {
        ShowNoProfileMessage();
        DBGrid1->setFocus();
        return {};
    }
    if (cdsRadios.CurrentRow() < 0)
        return {};
    cdsRadios.Edit();
    cdsRadios.SetField(fpFavoritos, Mark);
    cdsRadios.Post();
    return profileID;
}

QCoro::Task<> TFormRadio::Include1Click() {
    // Include always marks: the row shows the star the cloud receives.
    const std::string profileID = MarkCurrentFavourite("1");
    if (profileID.empty())
        co_return;
    Cumulo::TJSONValue record = Cumulo::TJSONValue::object();
    record[cdsRadios.FieldText(fpSerie)] = "1";
    const auto path = WindowCloud::SplitPath("CADASTRADO/" + profileID + "/FAVORITOS");
    const auto patch = [&path, &record](WindowCloud &Cloud) { Cloud.Patch(path, record); };
    const CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    turn.CheckMayGoOn();
    if (Cloud().Authenticated()) {
        co_await Step(turn, patch);
    } else if ((co_await Step(turn, [](WindowCloud &Cloud) { return Cloud.SignIn(); })).Succeeded) {
        Log_.Clear();
        co_await Step(turn, patch);
    } else {
        Environment_.Dialogs.ShowMessage(this, kSomethingWentWrong);
    }
    DBGrid1->setFocus();
}

QCoro::Task<> TFormRadio::Exclude1Click() {
    const std::string profileID = MarkCurrentFavourite("2");
    if (profileID.empty())
        co_return;
    const auto path =
        WindowCloud::SplitPath("CADASTRADO/" + profileID + "/FAVORITOS/" + cdsRadios.FieldText(fpSerie));
    const CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    turn.CheckMayGoOn();
    if (!Cloud().Authenticated() &&
        !(co_await Step(turn, [](WindowCloud &Cloud) { return Cloud.SignIn(); })).Succeeded) {
        Environment_.Dialogs.ShowMessage(this, kSomethingWentWrong);
        DBGrid1->setFocus();
        co_return;
    }
    if (!Cloud().CheckAndCreateRealTimeDBClass())
        co_return;
    Log_.Clear();
    co_await Step(turn, [&path](WindowCloud &Cloud) { Cloud.Delete(path); });
    DBGrid1->setFocus();
}

void TFormRadio::DBGrid1DrawColumnCell(QPainter *Canvas, const QStyleOptionViewItem &Cell,
                                       const QModelIndex &Index) {
    if (StationTableModel::FieldOfColumn(Index.column()) != fpFavoritos)
        return;
    const bool selected = Cell.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        Cell.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    Canvas->fillRect(Cell.rect, selected ? Cell.palette.brush(group, QPalette::Highlight)
                                         : Cell.palette.brush(group, QPalette::Base));
    const QPoint corner = Cell.rect.topLeft() + QPoint(1, 1);
    Canvas->drawPixmap(corner, ImageList1.at(0));
    if (cdsRadios.DisplayText(Filter1->TableRow(Index), fpFavoritos) == "1")
        Canvas->drawPixmap(corner, ImageList1.at(1));
}

void TFormRadio::DBGrid1TitleClick(int Column) {
    OrdenarTituloGrid(DBGrid1, Column);
}

} // namespace Tunewell
