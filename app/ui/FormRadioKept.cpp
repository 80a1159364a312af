// The main window's kept catalogue: kept after each run that read the cloud, shown when the
// cloud cannot be reached; and what the user is told when the cloud fails the start-up.
#include "app/core/CloudFailureText.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/KeptCatalogueError.h"
#include "app/ui/FormRadio.h"
#include "app/ui/StatusNotice.h"
#include "shared/core/WindowCloudFailure.h"
#include "shared/core/WindowCloudProfileID.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QTimer>

namespace Tunewell {

using Cumulo::TJSONValue;
using Cumulo::TStringDynArray;

void TFormRadio::UseKeptCatalogue(std::shared_ptr<KeptCatalogue> Store) {
    Kept_ = std::move(Store);
}

void TFormRadio::ReportCloudFailure(const ECloudFailure &Failure) {
    switch (Failure.Kind()) {
    case ECloudFailure::TKind::Unreachable:
        ShowKeptCatalogue(Failure);
        return;
    case ECloudFailure::TKind::NotSignedIn:
        Environment_.Dialogs.ShowError(
            this, QString::fromStdString(SignInRefusedText(Failure.Host(), Failure.Reason())));
        return;
    case ECloudFailure::TKind::Refused:
        Environment_.Dialogs.ShowError(
            this, QString::fromStdString(ReadRefusedText(Failure.Host(), Failure.Path(), Failure.Reason())));
        return;
    }
}

void TFormRadio::ShowKeptCatalogue(const ECloudFailure &Failure) {
    KeptCatalogueRead kept = Kept_ ? Kept_->Read() : KeptCatalogueRead{};
    if (kept.Outcome != KeptCatalogueRead::TOutcome::Kept) {
        const QString text = QString::fromStdString(UnreachableNothingKeptText(
            Failure.Host(), Failure.Reason(), kept.Problem, Failure.Certificate()));
        CloudNotice_->ShowNotice(QString::fromStdString(NothingKeptStatusText()), text);
        Environment_.Dialogs.ShowError(this, text);
        return;
    }
    ShowCatalogue(std::move(kept.Copy.Rows));
    // The kept nodes are another profile's when the profile changed since; none are used then.
    const std::string profileID = ReadProfileID();
    const KeptProfile &profile = kept.Copy.Profile;
    RestoreProfileStations(profileID, [&](const TStringDynArray &Path) {
        const auto &node = Path.back() == "LAST" ? profile.Last : profile.Favourites;
        return profile.ProfileID == profileID && node ? *node : TJSONValue::object();
    });
    CloudNotice_->ShowNotice(QString::fromStdString(KeptCatalogueStatusText(kept.Copy.ReadAt)),
                             QString::fromStdString(UnreachableKeptText(
                                 Failure.Host(), Failure.Reason(), kept.Copy.ReadAt, Failure.Certificate())));
    Wmp_->SetEnableContextMenu(false);
}

void TFormRadio::KeepCatalogue(KeptProfile Profile) {
    if (!Kept_)
        return;
    // Queued behind the grid's repaint, so the catalogue shows before it is written.
    QTimer::singleShot(0, this, Guarded([this, profile = std::move(Profile), readAt = CatalogueReadAt_] {
                           try {
                               Kept_->Keep(cdsRadios, profile, readAt);
                           } catch (const EKeptCatalogueError &error) {
                               Log_.AddLine(std::string("Keep catalogue failed: ") + error.what());
                           }
                           emit CatalogueKept();
                       }));
}

} // namespace Tunewell
