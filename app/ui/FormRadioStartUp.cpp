// The main window's start-up sequence and its close record.
#include "Cumulo/Helpers.h"
#include "Tunewell/BuildValues.h"
#include "app/core/CatalogueReader.h"
#include "app/core/FavouritesReader.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/LastStationReader.h"
#include "app/core/UpdateSuspension.h"
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
#include <QTableView>
#include <ctime>

namespace Tunewell {

using Cumulo::TFirebaseHelpers;
using Cumulo::TJSONValue;
using Cumulo::TStringDynArray;

namespace {
const QString kUpdateQuestion = QStringLiteral(
    "there is a new version of the radio, do you want to download?\rExiste uma nova vers\u00E3o do "
    "R\u00E1dio, deseja baixar?");
const QString kUpdateCaption = QStringLiteral("Atualiza\u00E7\u00E3o");

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
} // namespace

TJSONValue TFormRadio::ReadObject(const TStringDynArray &Path) {
    const auto node = Cloud_.Get(Path);
    const std::string path = WindowCloud::GetPathFromResParams(Path);
    if (!node || node->is_null())
        throw ECloudFailure(ECloudFailure::TKind::Refused, WindowCloud::DatabaseHost(), "not found", path);
    if (!node->is_object())
        throw ECloudFailure(ECloudFailure::TKind::Refused, WindowCloud::DatabaseHost(), "not a JSON object",
                            path);
    return *node;
}

std::string TFormRadio::ReadObjectText(const TStringDynArray &Path) {
    std::optional<std::string> node = Cloud_.GetNodeText(Path);
    const std::string path = WindowCloud::GetPathFromResParams(Path);
    if (!node || *node == "null")
        throw ECloudFailure(ECloudFailure::TKind::Refused, WindowCloud::DatabaseHost(), "not found", path);
    // Only an object's text opens with a brace.
    if (node->empty() || node->front() != '{')
        throw ECloudFailure(ECloudFailure::TKind::Refused, WindowCloud::DatabaseHost(), "not a JSON object",
                            path);
    return std::move(*node);
}

void TFormRadio::FormShow() {
    const std::string profileID = ReadProfileID();
    if (profileID.empty())
        return;
    Cloud_.SignInIfNeeded();
    last_radio = ReadLastSerie(ReadObject(WindowCloud::SplitPath("CADASTRADO/" + profileID + "/LAST")));
    if (cdsRadios.Locate("serie", last_radio))
        PlayCurrentRow();
}

void TFormRadio::RunStartUpSequence() {
    // A message shown by a run may itself reactivate the window; one run at a time. An ending
    // program starts none.
    if (StartUpRunning_ || TFirebaseHelpers::AppIsTerminated())
        return;
    StartUpRunning_ = true;
    try {
        FormActivate();
    } catch (const ECloudFailure &failure) {
        ReportCloudFailure(failure);
    } catch (const std::exception &error) {
        // A run cut short by the program's end says nothing.
        if (!TFirebaseHelpers::AppIsTerminated())
            ReportError(error);
    }
    StartUpRunning_ = false;
    emit StartUpSequenceFinished();
}

void TFormRadio::FormActivate() {
    Auric1->setChecked(true);
    const SignInOutcome signIn = Cloud_.SignIn();
    if (signIn.ErrorMessage == "EMAIL_NOT_FOUND") {
        Environment_.Dialogs.ShowMessage(this, QStringLiteral("Email nao existe."));
        return;
    }
    if (signIn.ErrorMessage == "INVALID_PASSWORD") {
        Environment_.Dialogs.ShowMessage(this, QStringLiteral("Senha invalida."));
        return;
    }
    {
        TUpdateSuspension suspension(cdsRadios);
        CheckForUpdate();
        LoadCatalogue();
    }

    const std::string profileID = ReadProfileID();
    KeepCatalogue(
        RestoreProfileStations(profileID, [this](const TStringDynArray &Path) { return ReadObject(Path); }));

    WritePresenceOnline(profileID);
    Wmp_->SetEnableContextMenu(false);
}

KeptProfile TFormRadio::RestoreProfileStations(const std::string &ProfileID, const NodeRead &Read) {
    KeptProfile profile{ProfileID, {}, {}};
    std::string lastSerie;
    if (!ProfileID.empty()) {
        profile.Last = Read(WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/LAST"));
        lastSerie = ReadLastSerie(*profile.Last);
        last_radio = lastSerie;
    }
    if (!lastSerie.empty() && cdsRadios.Locate("serie", lastSerie))
        PlayCurrentRow();
    if (!ProfileID.empty()) {
        profile.Favourites = Read(WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/FAVORITOS"));
        ReadFavourites(*profile.Favourites, cdsRadios);
    }
    // The station being played stays the current row, also after the catalogue was reloaded.
    if (!Wmp_->URL().isEmpty())
        cdsRadios.Locate("url", Wmp_->URL().toStdString());
    DBGrid1->setFocus();
    return profile;
}

void TFormRadio::CheckForUpdate() {
    const TPublishedVersion published = ReadVersion(ReadObject({"VERSOES"}));
    if (!NewerVersionPublished(BuildValues::kVersion, published.Version))
        return;
    if (Environment_.Dialogs.AskYesNo(this, kUpdateQuestion, kUpdateCaption))
        Environment_.Dialogs.OpenAddress(QString::fromStdString(published.Url));
}

void TFormRadio::LoadCatalogue() {
    std::string catalogue = ReadObjectText({"ESTACOES"});
    // Each run replaces the catalogue: reopening the window must not list every station twice.
    // The old rows go once the new catalogue has arrived, before it is read, so the two never
    // take room side by side.
    cdsRadios.ReplaceRows({});
    ShowCatalogue(ReadCatalogueRows(std::move(catalogue)));
    // The cloud answered: the catalogue shown is its own.
    CatalogueReadAt_ = std::time(nullptr);
    CloudNotice_->ClearNotice();
}

void TFormRadio::ShowCatalogue(std::vector<TStationRow> Rows) {
    // Sorted once here, in the grid's order, rather than one row at a time as they come.
    cdsRadios.ReplaceRows(std::move(Rows));
}

void TFormRadio::WritePresenceOnline(const std::string &ProfileID) {
    if (!ProfileID.empty()) {
        const TStringDynArray path = WindowCloud::SplitPath("CADASTRADO/" + ProfileID + "/STATUS");
        if (Cloud_.Authenticated()) {
            Cloud_.Patch(path, PresenceRecord("Hora_Entrada", "Online", false));
        } else {
            Cloud_.SignIn();
            Cloud_.Put(path, PresenceRecord("Hora_Entrada", "Online", false));
        }
        return;
    }
    // Without an adapter address there is no record of this machine to write.
    const std::string adapter = getMacAddress();
    if (!adapter.empty())
        Cloud_.Patch(WindowCloud::SplitPath("NAO_CADASTRADO/" + adapter),
                     PresenceRecord("Hora_Entrada", "Online", true));
}

void TFormRadio::FormClose() {
    const std::string adapter = getMacAddress();
    const std::string profileID = ReadProfileID();
    Cloud_.SignIn();
    if (!profileID.empty()) {
        if (!Cloud_.Authenticated())
            Cloud_.SignIn();
        Cloud_.Patch(WindowCloud::SplitPath("CADASTRADO/" + profileID + "/STATUS"),
                     PresenceRecord("Hora_Saida", "Offline", false));
    } else if (!adapter.empty()) {
        Cloud_.Patch(WindowCloud::SplitPath("NAO_CADASTRADO/" + adapter),
                     PresenceRecord("Hora_Saida", "Offline", true));
    }
}

void TFormRadio::closeEvent(QCloseEvent *Event) {
    // The window closes whatever the close record met; an error still reaches the error report.
    // Closing it ends the program: after the close record nothing more is written or shown.
    RunHandler([this] { FormClose(); });
    TFirebaseHelpers::SetAppTerminated(true);
    QMainWindow::closeEvent(Event);
}

} // namespace Tunewell
