// The main window's start-up sequence and its close record.
#include "Cumulo/Helpers.h"
#include "Tunewell/BuildValues.h"
#include "app/core/CatalogueReader.h"
#include "app/core/CloudFailureText.h"
#include "app/core/FavouritesReader.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/KeptCatalogueError.h"
#include "app/core/LastStationReader.h"
#include "app/core/OwnStationsError.h"
#include "app/core/OwnStationsReader.h"
#include "app/core/VersionCompare.h"
#include "app/core/VersionReader.h"
#include "app/ui/FormRadio.h"
#include "app/ui/StatusNotice.h"
#include "shared/core/MacAddress.h"
#include "shared/core/NomeMaquina.h"
#include "shared/core/TimeText.h"
#include "shared/core/WindowCloudFailure.h"
#include "shared/core/WindowCloudProfileID.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QCloseEvent>
#include <QScrollBar>
#include <QTableView>
#include <charconv>
#include <ctime>
#include <optional>

namespace Tunewell {

using Cumulo::TFirebaseHelpers;
using Cumulo::TJSONValue;
using Cumulo::TStringDynArray;

namespace {
const QString kUpdateQuestion = QStringLiteral(
    "there is a new version of the radio, do you want to download?\rExiste uma nova vers\u00E3o do "
    "R\u00E1dio, deseja baixar?");
const QString kUpdateCaption = QStringLiteral("Atualiza\u00E7\u00E3o");
const std::string kOwnVersion = BuildValues::kVersion;
const TStringDynArray kVersionsPath{"VERSOES"};

TJSONValue PresenceRecord(const std::string &HourMember, const std::string &Status, bool WithName) {
    const std::time_t now = std::time(nullptr);
    TJSONValue record = TJSONValue::object();
    if (WithName)
        record["Nome"] = NomeMaquina();
    record[HourMember] = TimeText(now);
    record["Data"] = DateText(now);
    record["Status"] = Status;
    return record;
}

[[noreturn]] void NotAnObject(const TStringDynArray &Path, const char *Why) {
    throw ECloudFailure(ECloudFailure::TKind::Refused, WindowCloud::DatabaseHost(), Why,
                        WindowCloud::GetPathFromResParams(Path));
}

// The node read as a JSON object; anything else is an error of the start-up sequence.
TJSONValue ObjectOf(WindowCloud &Cloud, const TStringDynArray &Path) {
    const auto node = Cloud.Get(Path);
    if (!node || node->is_null())
        NotAnObject(Path, "not found");
    if (!node->is_object())
        NotAnObject(Path, "not a JSON object");
    return *node;
}

// The same read as node text, written while the answer is parsed: for the catalogue, which must
// never exist as a value tree.
std::string ObjectTextOf(WindowCloud &Cloud, const TStringDynArray &Path) {
    std::optional<std::string> node = Cloud.GetNodeText(Path);
    if (!node || *node == "null")
        NotAnObject(Path, "not found");
    // Only an object's text opens with a brace.
    if (node->empty() || node->front() != '{')
        NotAnObject(Path, "not a JSON object");
    return std::move(*node);
}

// A catalogue read and cut into rows on the worker: the rows to show, sorted as the grid is, and
// the rows as the cloud gave them, to keep.
struct CatalogueRows {
    std::vector<TStationRow> Shown;
    std::shared_ptr<const std::vector<TStationRow>> AsRead;
};

// The profile's own stations as read, with the node for keeping and what could not be used.
struct OwnStationsRows {
    std::optional<TJSONValue> Node;
    TOwnStationsRead Read;
    std::string Problem;
};

// The PROPRIAS node read and its stations added to Rows; a missing node holds none.
OwnStationsRows ReadOwnStationRows(WindowCloud &Cloud, const std::string &ProfileID,
                                   std::vector<TStationRow> &Rows) {
    OwnStationsRows own;
    const auto node = Cloud.Get(WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/PROPRIAS"));
    if (!node)
        return own;
    try {
        own.Read = ReadOwnStations(*node);
        own.Node = *node;
    } catch (const EOwnStationsError &error) {
        own.Problem = error.what();
    }
    std::vector<TStationRow> rows = OwnStationRows(own.Read.Stations);
    std::move(rows.begin(), rows.end(), std::back_inserter(Rows));
    return own;
}
} // namespace

QCoro::Task<TJSONValue> TFormRadio::ReadObject(const CloudTurn &Turn, TStringDynArray Path) {
    co_return co_await Step(Turn, [&Path](WindowCloud &Cloud) { return ObjectOf(Cloud, Path); });
}

void TFormRadio::UseLocalCloudStarter(std::shared_ptr<ILocalCloudStarter> Starter) {
    LocalCloud_ = std::move(Starter);
}

QCoro::Task<> TFormRadio::StartLocalCloudIfNeeded(const CloudTurn &Turn) {
    const auto starter = LocalCloud_;
    if (!starter || !co_await Step(Turn, [&starter](WindowCloud &) { return starter->NeedsStart(); }))
        co_return;
    // What the status line said before (the kept catalogue waiting) comes back once it answers.
    const QString line = CloudNotice_->Line();
    const QString explanation = CloudNotice_->Explanation();
    CloudNotice_->ShowNotice(QString::fromStdString(LocalCloudStartingStatusText()),
                             QString::fromStdString(LocalCloudStartingText()));
    std::optional<ECloudFailure> failure;
    try {
        co_await Step(Turn, [&starter](WindowCloud &) { starter->Start(); });
    } catch (const ELocalCloudStart &error) {
        failure.emplace(ECloudFailure::TKind::Unreachable, WindowCloud::DatabaseHost(), error.what());
    }
    // Before the failure is reported, which tells what it finds not told yet.
    if (line.isEmpty())
        CloudNotice_->ClearNotice();
    else
        CloudNotice_->ShowNotice(line, explanation);
    if (failure)
        throw *failure;
}

QCoro::Task<> TFormRadio::StartUp() {
    co_await ShowKeptCatalogueFirst();
    co_await RunSequence(RunKind::Start);
}

QCoro::Task<> TFormRadio::FormShow(const CloudTurn &Turn) {
    const std::string profileID = ReadProfileID();
    if (profileID.empty())
        co_return;
    co_await Step(Turn, [](WindowCloud &Cloud) { return Cloud.SignInIfNeeded(); });
    last_radio =
        ReadLastSerie(co_await ReadObject(Turn, WindowCloud::SplitPath("CADASTRADO/" + profileID + "/LAST")));
    PlayLastStation(last_radio, RunKind::Start);
}

void TFormRadio::RunStartUpSequence() {
    // An ending program, or a closing window, starts none.
    if (TFirebaseHelpers::AppIsTerminated() || CloseStarted_ || Steps_.Sequencer().Closing())
        return;
    // A run still waiting for its turn reads everything anew anyway: this request merges into it.
    // A run under way may have read its nodes before what asked for this one changed them.
    if (RunQueued_)
        return;
    RunQueued_ = true;
    RunHandlerTask(RunSequence(Started_ ? RunKind::Refresh : RunKind::Start));
}

QCoro::Task<> TFormRadio::RunSequence(RunKind Kind) {
    RunQueued_ = true;
    CloudTurn turn = co_await Steps_.Sequencer().NextTurn();
    RunQueued_ = false;
    CloudRetry_.stop();
    std::optional<ECloudFailure> failure;
    std::optional<std::runtime_error> error;
    bool completed = false;
    try {
        turn.CheckMayGoOn();
        co_await StartLocalCloudIfNeeded(turn);
        if (Kind == RunKind::Start) {
            try {
                co_await FormShow(turn);
            } catch (const ECloudFailure &showFailure) {
                // The activation that follows at once shows what it can of an unreachable cloud.
                if (showFailure.Kind() != ECloudFailure::TKind::Unreachable)
                    failure = showFailure;
            } catch (const ESequenceEnded &) {
                throw;
            } catch (const std::exception &showError) {
                ReportError(showError);
            }
            if (failure) {
                co_await ReportCloudFailure(*failure);
                failure.reset();
            }
        }
        co_await FormActivate(turn, Kind);
        completed = true;
    } catch (const ESequenceEnded &) {
    } catch (const ECloudFailure &runFailure) {
        failure = runFailure;
    } catch (const std::exception &runError) {
        // A run cut short by the program's end says nothing.
        if (!TFirebaseHelpers::AppIsTerminated())
            error.emplace(runError.what());
    }
    // The next sequence need not wait while the user reads what went wrong.
    turn = {};
    if (completed && Kind == RunKind::Start)
        Started_ = true;
    // A profile registered (or deleted) meanwhile opens (or closes) the Stations menu.
    UpdateOwnStationItems();
    if (failure)
        co_await ReportCloudFailure(*failure);
    if (error)
        ReportError(*error);
    emit StartUpSequenceFinished();
}

QCoro::Task<> TFormRadio::FormActivate(const CloudTurn &Turn, RunKind Kind) {
    Auric1->setChecked(true);
    const SignInOutcome signIn = co_await Step(Turn, [](WindowCloud &Cloud) { return Cloud.SignIn(); });
    if (signIn.ErrorMessage == "EMAIL_NOT_FOUND") {
        Environment_.Dialogs.ShowMessage(this, QStringLiteral("Email nao existe."));
        co_return;
    }
    if (signIn.ErrorMessage == "INVALID_PASSWORD") {
        Environment_.Dialogs.ShowMessage(this, QStringLiteral("Senha invalida."));
        co_return;
    }
    co_await CheckForUpdate(Turn);
    const std::string profileID = ReadProfileID();
    co_await LoadCatalogue(Turn, profileID);

    KeptProfile profile = co_await RestoreProfileStations(Turn, profileID, Kind);
    co_await WritePresenceOnline(Turn, profileID);
    Wmp_->SetEnableContextMenu(false);
    co_await KeepCatalogue(Turn, std::move(profile));
}

QCoro::Task<KeptProfile> TFormRadio::RestoreProfileStations(const CloudTurn &Turn, std::string ProfileID,
                                                            RunKind Kind) {
    KeptProfile profile{ProfileID, {}, {}, {}};
    std::string lastSerie;
    if (!ProfileID.empty()) {
        profile.Last = co_await ReadObject(Turn, WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/LAST"));
        lastSerie = ReadLastSerie(*profile.Last);
        last_radio = lastSerie;
    }
    PlayLastStation(lastSerie, Kind);
    if (!ProfileID.empty()) {
        profile.Favourites =
            co_await ReadObject(Turn, WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/FAVORITOS"));
        MarkFavourites(*profile.Favourites);
    }
    // The favourites put the listener's selection back: after a start that played the last
    // station, that is the station being played.
    DBGrid1->setFocus();
    co_return profile;
}

void TFormRadio::PlayLastStation(const std::string &Serie, RunKind Kind) {
    // Only a start plays, and never over a station already playing (the kept catalogue's last
    // station, or one the listener chose meanwhile): it is neither restarted nor switched.
    if (Kind != RunKind::Start || !Wmp_->URL().isEmpty() || Serie.empty())
        return;
    if (cdsRadios.Locate("serie", Serie))
        PlayCurrentRow();
}

void TFormRadio::MarkFavourites(const TJSONValue &Node) {
    // The reader leaves the first row current; the listener's selection stays.
    const std::string selected = cdsRadios.CurrentRow() >= 0 ? cdsRadios.FieldText(fpSerie) : std::string();
    ReadFavourites(Node, cdsRadios);
    if (!selected.empty())
        cdsRadios.Locate("serie", selected);
}

int TFormRadio::PlayingRow() const {
    std::int64_t serie = 0;
    const auto end = PlayingSerie_.data() + PlayingSerie_.size();
    if (PlayingSerie_.empty() || std::from_chars(PlayingSerie_.data(), end, serie).ptr != end)
        return -1;
    const auto &rows = cdsRadios.Rows();
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        if (rows[row].HasValue(fpSerie) && rows[row].Number(fpSerie) == serie)
            return row;
    return -1;
}

QCoro::Task<> TFormRadio::CheckForUpdate(const CloudTurn &Turn) {
    const TPublishedVersion published = ReadVersion(co_await ReadObject(Turn, kVersionsPath));
    if (!NewerVersionPublished(kOwnVersion, published.Version))
        co_return;
    if (Environment_.Dialogs.AskYesNo(this, kUpdateQuestion, kUpdateCaption))
        Environment_.Dialogs.OpenAddress(QString::fromStdString(published.Url));
}

QCoro::Task<> TFormRadio::LoadCatalogue(const CloudTurn &Turn, std::string ProfileID) {
    // Read, cut into rows and sorted as the grid is on the worker; the UI thread swaps them in.
    const std::string sortField = cdsRadios.SortField();
    CatalogueRows catalogue = co_await Step(Turn, [](WindowCloud &Cloud) {
        std::vector<TStationRow> rows = ReadCatalogueRows(ObjectTextOf(Cloud, {"ESTACOES"}));
        return CatalogueRows{rows, std::make_shared<const std::vector<TStationRow>>(rows)};
    });
    // The profile's own stations join the catalogue's before the favourites mark both.
    OwnStationsRows own = co_await Step(Turn, [&catalogue, &ProfileID, &sortField](WindowCloud &Cloud) {
        OwnStationsRows read;
        if (!ProfileID.empty())
            read = ReadOwnStationRows(Cloud, ProfileID, catalogue.Shown);
        if (!sortField.empty())
            TStationTable::SortRows(catalogue.Shown, sortField);
        return read;
    });
    if (!own.Problem.empty())
        Log_.AddLine("Own stations not read: " + own.Problem);
    if (own.Read.Skipped > 0)
        Log_.AddLine("Own stations skipped: " + std::to_string(own.Read.Skipped));
    // Each run replaces the catalogue: reopening the window must not list every station twice.
    ReplaceRowsInPlace(std::move(catalogue.Shown), sortField);
    CatalogueAsRead_ = std::move(catalogue.AsRead);
    OwnStations_ = std::move(own.Read.Stations);
    OwnAsRead_ = std::move(own.Node);
    // The cloud answered: the catalogue shown is its own.
    CatalogueReadAt_ = std::time(nullptr);
    KeptShownReadAt_ = 0;
    CloudNotice_->ClearNotice();
    CloudBackoff_.Reset();
}

void TFormRadio::ReplaceRowsInPlace(std::vector<TStationRow> Rows, const std::string &SortedBy) {
    const std::string selected = cdsRadios.CurrentRow() >= 0 ? cdsRadios.FieldText(fpSerie) : std::string();
    QScrollBar *scroll = DBGrid1->verticalScrollBar();
    const int scrolled = scroll->value();
    cdsRadios.ReplaceRows(std::move(Rows), SortedBy);
    // The scroll range follows the new rows only once the grid has laid them out.
    DBGrid1->doItemsLayout();
    scroll->setValue(scrolled);
    if (!selected.empty())
        cdsRadios.Locate("serie", selected);
    // The labels of the station being played follow its row; the player is not touched.
    if (const int playing = PlayingRow(); playing >= 0)
        ShowStationLabels(playing);
}

QCoro::Task<> TFormRadio::WritePresenceOnline(const CloudTurn &Turn, std::string ProfileID) {
    if (!ProfileID.empty()) {
        const TStringDynArray path = WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/STATUS");
        const TJSONValue record = PresenceRecord("Hora_Entrada", "Online", false);
        if (Cloud().Authenticated()) {
            co_await Step(Turn, [&path, &record](WindowCloud &Cloud) { Cloud.Patch(path, record); });
        } else {
            co_await Step(Turn, [&path, &record](WindowCloud &Cloud) {
                Cloud.SignIn();
                Cloud.Put(path, record);
            });
        }
        co_return;
    }
    // Without an adapter address there is no record of this machine to write.
    const std::string adapter = getMacAddress();
    if (adapter.empty())
        co_return;
    const TJSONValue record = PresenceRecord("Hora_Entrada", "Online", true);
    co_await Step(Turn, [&adapter, &record](WindowCloud &Cloud) {
        Cloud.Patch(WindowCloud::SplitPath("NAO_CADASTRADO/" + adapter), record);
    });
}

QCoro::Task<> TFormRadio::KeepCatalogue(const CloudTurn &Turn, KeptProfile Profile) {
    const auto rows = std::move(CatalogueAsRead_);
    Profile.Own = std::exchange(OwnAsRead_, std::nullopt);
    const auto kept = Kept_;
    const std::time_t readAt = CatalogueReadAt_;
    if (!kept || !rows)
        co_return;
    try {
        co_await Step(Turn, [&](WindowCloud &) { kept->Keep(*rows, Profile, readAt); });
    } catch (const EKeptCatalogueError &error) {
        Log_.AddLine(std::string("Keep catalogue failed: ") + error.what());
    }
    emit CatalogueKept();
}

QCoro::Task<> TFormRadio::FormClose() {
    // After the step under way, before anything that waits: the close record is the last write.
    const CloudTurn turn = co_await Steps_.Sequencer().LastTurn();
    std::optional<std::runtime_error> error;
    try {
        const std::string adapter = getMacAddress();
        const std::string profileID = ReadProfileID();
        co_await Step(turn, [](WindowCloud &Cloud) { Cloud.SignIn(); });
        if (!profileID.empty()) {
            const TJSONValue record = PresenceRecord("Hora_Saida", "Offline", false);
            co_await Step(turn, [&profileID, &record](WindowCloud &Cloud) {
                if (!Cloud.Authenticated())
                    Cloud.SignIn();
                Cloud.Patch(WindowCloud::SplitPath("CADASTRADO/" + profileID + "/STATUS"), record);
            });
        } else if (!adapter.empty()) {
            const TJSONValue record = PresenceRecord("Hora_Saida", "Offline", true);
            co_await Step(turn, [&adapter, &record](WindowCloud &Cloud) {
                Cloud.Patch(WindowCloud::SplitPath("NAO_CADASTRADO/" + adapter), record);
            });
        }
    } catch (const std::exception &closeError) {
        error.emplace(closeError.what());
    }
    // After the close record nothing more is written or shown.
    TFirebaseHelpers::SetAppTerminated(true);
    emit Closed();
    if (error)
        throw *error;
}

void TFormRadio::closeEvent(QCloseEvent *Event) {
    // The window goes at once; its close record follows the cloud step under way, if any, and
    // ends whatever waits behind it. Closing it ends the program once that record is written.
    QMainWindow::closeEvent(Event);
    if (CloseStarted_)
        return;
    CloseStarted_ = true;
    CloudRetry_.stop();
    emit CloseRequested();
    RunHandlerTask(FormClose());
}

} // namespace Tunewell
