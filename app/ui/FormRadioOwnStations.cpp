// The main window's Stations menu: stations of the listener's own, kept in the profile's PROPRIAS
// node, added, edited and removed through the window's cloud sequence.
#include "app/ui/FormRadio.h"
#include "app/ui/OwnStationWrites.h"
#include "app/ui/PlayerMenu.h"
#include "shared/core/WindowCloudFailure.h"
#include "shared/core/WindowCloudProfileID.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>
#include <charconv>

namespace Tunewell {

namespace {
const QString kChooseOwn = QStringLiteral("Choose one of your own stations (marked \u25C6) in the list "
                                          "first. / Escolha antes na lista uma das "
                                          "suas esta\u00E7\u00F5es (marcadas com \u25C6).");
const QString kStationsCaption = QStringLiteral("Stations / Esta\u00E7\u00F5es");

} // namespace

void TFormRadio::CreateOwnStationItems() {
    Stations1 = new PlayerMenu(this);
    Stations1->setObjectName(QStringLiteral("Stations1"));
    Stations1->setTitle(kStationsCaption);
    Stations1->setToolTipsVisible(true);
    MainMenu1->addMenu(Stations1);
    AddOwnStation1 =
        Stations1->AddItem(QStringLiteral("Add own station\u2026 / Adicionar esta\u00E7\u00E3o sua\u2026"),
                           QKeySequence(Qt::CTRL | Qt::Key_N));
    AddOwnStation1->setObjectName(QStringLiteral("AddOwnStation1"));
    connect(AddOwnStation1, &QAction::triggered, this, [this] { RunHandlerTask(AddOwnStation1Click()); });
    EditOwnStation1 =
        Stations1->AddItem(QStringLiteral("Edit own station\u2026 / Editar esta\u00E7\u00E3o sua\u2026"),
                           QKeySequence(Qt::CTRL | Qt::Key_E));
    EditOwnStation1->setObjectName(QStringLiteral("EditOwnStation1"));
    connect(EditOwnStation1, &QAction::triggered, this, [this] { RunHandlerTask(EditOwnStation1Click()); });
    RemoveOwnStation1 =
        Stations1->AddItem(QStringLiteral("Remove own station / Remover esta\u00E7\u00E3o sua"),
                           QKeySequence(Qt::CTRL | Qt::Key_Delete));
    RemoveOwnStation1->setObjectName(QStringLiteral("RemoveOwnStation1"));
    connect(RemoveOwnStation1, &QAction::triggered, this,
            [this] { RunHandlerTask(RemoveOwnStation1Click()); });
    CreatePlaylistItems();
    connect(Stations1, &QMenu::aboutToShow, this, [this] { UpdateOwnStationItems(); });
    UpdateOwnStationItems();
}

void TFormRadio::UpdateOwnStationItems() {
    const bool registered = !ReadProfileID().empty();
    QString why = registered ? QString() : NoProfileText();
    why.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QAction *item : Stations1->actions()) {
        item->setEnabled(registered);
        item->setToolTip(why);
    }
}

std::optional<TOwnStation> TFormRadio::CurrentOwnStation() {
    const int row = cdsRadios.CurrentRow();
    if (row >= 0 && cdsRadios.IsOwn(row)) {
        const std::string serie = cdsRadios.FieldText(fpSerie);
        for (const TOwnStation &station : OwnStations_)
            if (std::to_string(station.Serie) == serie)
                return station;
    }
    Environment_.Dialogs.ShowMessage(this, kChooseOwn);
    return std::nullopt;
}

std::vector<TOwnStation> TFormRadio::KnownOwnStations() const {
    std::vector<TOwnStation> known = OwnStations_;
    // The serie of a station removed since may still be the last one played: it is not given again.
    std::int64_t last = 0;
    const char *lastEnd = last_radio.data() + last_radio.size();
    if (std::from_chars(last_radio.data(), lastEnd, last).ptr == lastEnd && last < 0)
        known.push_back(TOwnStation{{}, {}, {}, {}, {}, last});
    return known;
}

QCoro::Task<bool> TFormRadio::SignedInForWrite(const CloudTurn &Turn) {
    if (Cloud().Authenticated() ||
        (co_await Step(Turn, [](WindowCloud &Cloud) { return Cloud.SignIn(); })).Succeeded)
        co_return true;
    ShowSomethingWentWrong();
    co_return false;
}

void TFormRadio::KeepingScroll(const std::function<void()> &Change) {
    QScrollBar *scroll = DBGrid1->verticalScrollBar();
    const int scrolled = scroll->value();
    Change();
    DBGrid1->doItemsLayout();
    scroll->setValue(scrolled);
    if (const int playing = PlayingRow(); playing >= 0)
        ShowStationLabels(playing);
}

QCoro::Task<> TFormRadio::AddOwnStation1Click() {
    const std::string profileID = ReadProfileID();
    if (profileID.empty()) {
        ShowNoProfileMessage();
        co_return;
    }
    std::optional<TOwnStation> asked = AskOwnStation(this, TOwnStation{});
    if (!asked)
        co_return;
    TOwnStation station = std::move(*asked);
    const CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    turn.CheckMayGoOn();
    if (!co_await SignedInForWrite(turn))
        co_return;
    const std::vector<TOwnStation> known = KnownOwnStations();
    std::optional<std::string> key;
    try {
        key = co_await Step(turn, [&profileID, &station, &known](WindowCloud &Cloud) {
            station.Serie = NextOwnSerieInTheCloud(Cloud, profileID, known);
            return PostOwnStation(Cloud, profileID, station);
        });
    } catch (const ECloudFailure &) {
    }
    if (!key) {
        ShowSomethingWentWrong();
        co_return;
    }
    station.Key = *key;
    OwnStations_.push_back(station);
    cdsRadios.Append();
    cdsRadios.SetRow(OwnStationRow(station));
    cdsRadios.Post();
    DBGrid1->setFocus();
}

QCoro::Task<> TFormRadio::EditOwnStation1Click() {
    const std::string profileID = ReadProfileID();
    if (profileID.empty()) {
        ShowNoProfileMessage();
        co_return;
    }
    const std::optional<TOwnStation> current = CurrentOwnStation();
    if (!current)
        co_return;
    std::optional<TOwnStation> asked = AskOwnStation(this, *current);
    if (!asked || *asked == *current)
        co_return;
    const TOwnStation station = std::move(*asked);
    const CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    turn.CheckMayGoOn();
    if (!co_await SignedInForWrite(turn))
        co_return;
    const auto path = OwnStationsPath(profileID, station.Key);
    const auto record = OwnStationRecord(station);
    const bool written = co_await Step(
        turn, [&path, &record](WindowCloud &Cloud) { return Cloud.Put(path, record).Succeeded; });
    if (!written) {
        ShowSomethingWentWrong();
        co_return;
    }
    for (TOwnStation &kept : OwnStations_)
        if (kept.Key == station.Key)
            kept = station;
    // Located anew: the row may have moved while the cloud answered.
    if (!cdsRadios.Locate("serie", std::to_string(station.Serie)))
        co_return;
    const TStationRow row = OwnStationRow(station);
    cdsRadios.Edit();
    for (const int field : {fpNome, fpEstilo, fpLocal, fpUrl})
        cdsRadios.SetField(field, row.Text(field));
    cdsRadios.Post();
    if (const int playing = PlayingRow(); playing >= 0)
        ShowStationLabels(playing);
    DBGrid1->setFocus();
}

QCoro::Task<> TFormRadio::RemoveOwnStation1Click() {
    const std::string profileID = ReadProfileID();
    if (profileID.empty()) {
        ShowNoProfileMessage();
        co_return;
    }
    const std::optional<TOwnStation> station = CurrentOwnStation();
    if (!station)
        co_return;
    const QString name = QString::fromStdString(station->Nome);
    if (!Environment_.Dialogs.AskYesNo(
            this,
            QStringLiteral(
                "Remove your station \u201C%1\u201D? / Remover a sua esta\u00E7\u00E3o \u201C%1\u201D?")
                .arg(name),
            kStationsCaption))
        co_return;
    const CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    turn.CheckMayGoOn();
    if (!co_await SignedInForWrite(turn))
        co_return;
    const auto path = OwnStationsPath(profileID, station->Key);
    const std::string serie = std::to_string(station->Serie);
    const auto favourite = WindowCloud::SplitPath("CADASTRADO/" + profileID + "/FAVORITOS/" + serie);
    const bool removed = co_await Step(turn, [&path, &favourite](WindowCloud &Cloud) {
        if (Cloud.Delete(path) == DeleteOutcome::Failed)
            return false;
        // Its star goes with it: no mark is left for a serie nothing holds.
        Cloud.Delete(favourite);
        return true;
    });
    if (!removed) {
        ShowSomethingWentWrong();
        co_return;
    }
    std::erase_if(OwnStations_, [&](const TOwnStation &Kept) { return Kept.Key == station->Key; });
    if (cdsRadios.Locate("serie", serie))
        KeepingScroll([this] { cdsRadios.Delete(); });
    DBGrid1->setFocus();
}

} // namespace Tunewell
