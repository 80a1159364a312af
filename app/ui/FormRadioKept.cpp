// The main window's kept catalogue: shown first at a start, kept after each run that read the
// cloud, shown again when the cloud cannot be reached; what the user is told when the cloud
// fails, and the cloud tried again by itself.
#include "app/core/CloudFailureText.h"
#include "app/core/KeptCatalogue.h"
#include "app/core/LastStationReader.h"
#include "app/core/OwnStationsError.h"
#include "app/core/OwnStationsReader.h"
#include "app/ui/FormRadio.h"
#include "app/ui/StatusNotice.h"
#include "shared/core/WindowCloudFailure.h"
#include "shared/core/WindowCloudProfileID.h"

namespace Tunewell {

namespace {

// The own stations kept with the profile; none when they are another profile's or unusable.
std::vector<TOwnStation> KeptOwnStations(const KeptProfile &Profile, const std::string &ProfileID) {
    if (ProfileID.empty() || Profile.ProfileID != ProfileID || !Profile.Own)
        return {};
    try {
        return ReadOwnStations(*Profile.Own).Stations;
    } catch (const EOwnStationsError &) {
        return {};
    }
}

// Read off the UI thread, the profile's own stations added, and sorted there as the grid is.
KeptCatalogueRead ReadKept(const KeptCatalogue &Kept, const std::string &SortField,
                           const std::string &ProfileID) {
    KeptCatalogueRead read = Kept.Read();
    if (read.Outcome != KeptCatalogueRead::TOutcome::Kept)
        return read;
    std::vector<TStationRow> own = OwnStationRows(KeptOwnStations(read.Copy.Profile, ProfileID));
    std::move(own.begin(), own.end(), std::back_inserter(read.Copy.Rows));
    if (!SortField.empty())
        TStationTable::SortRows(read.Copy.Rows, SortField);
    return read;
}
} // namespace

void TFormRadio::UseKeptCatalogue(std::shared_ptr<KeptCatalogue> Store) {
    Kept_ = std::move(Store);
    KeptRead_.reset();
    // Beside the window's first frame: the start shows it before it signs in.
    if (Kept_)
        KeptRead_.emplace(Steps_.Aside(
            [kept = Kept_, profileID = ReadProfileID()] { return ReadKept(*kept, {}, profileID); }));
}

QCoro::Task<> TFormRadio::ShowKeptCatalogueFirst() {
    if (!KeptRead_)
        co_return;
    QCoro::Task<KeptCatalogueRead> reading = std::move(*KeptRead_);
    KeptRead_.reset();
    KeptCatalogueRead kept = co_await std::move(reading);
    if (kept.Outcome != KeptCatalogueRead::TOutcome::Kept) {
        KeptProblem_ = kept.Problem;
        co_return;
    }
    const std::time_t readAt = kept.Copy.ReadAt;
    ShowKeptCopy(std::move(kept), QString::fromStdString(KeptCatalogueWaitingStatusText(readAt)),
                 QString::fromStdString(KeptCatalogueWaitingText(readAt)));
}

void TFormRadio::ShowKeptCopy(KeptCatalogueRead Kept, const QString &Line, const QString &Explanation) {
    KeptCatalogueCopy &copy = Kept.Copy;
    // The rows carry the catalogue's own marks; the kept nodes are another profile's when the
    // profile changed since, and none are used then.
    const std::string profileID = ReadProfileID();
    const KeptProfile &profile = copy.Profile;
    OwnStations_ = KeptOwnStations(profile, profileID);
    // Added on the worker for the profile signed in then; another may have registered since.
    if (OwnStations_.empty())
        std::erase_if(copy.Rows, [](const TStationRow &Row) { return Row.Own(); });
    ReplaceRowsInPlace(std::move(copy.Rows), cdsRadios.SortField());
    KeptShownReadAt_ = copy.ReadAt;
    CatalogueReadAt_ = 0;
    CatalogueAsRead_.reset();
    OwnAsRead_.reset();
    if (profile.ProfileID == profileID && !profileID.empty()) {
        const std::string lastSerie = profile.Last ? ReadLastSerie(*profile.Last) : std::string();
        last_radio = lastSerie;
        PlayLastStation(lastSerie, Started_ ? RunKind::Refresh : RunKind::Start);
        if (profile.Favourites)
            MarkFavourites(*profile.Favourites);
    }
    CloudNotice_->ShowNotice(Line, Explanation);
    Wmp_->SetEnableContextMenu(false);
}

QCoro::Task<> TFormRadio::ReportCloudFailure(ECloudFailure Failure) {
    switch (Failure.Kind()) {
    case ECloudFailure::TKind::Unreachable:
        co_await ShowKeptCatalogue(Failure);
        TryCloudAgainLater();
        co_return;
    case ECloudFailure::TKind::NotSignedIn:
        ReportRefusal(QString::fromStdString(SignInRefusedText(Failure.Host(), Failure.Reason())));
        co_return;
    case ECloudFailure::TKind::Refused:
        ReportRefusal(
            QString::fromStdString(ReadRefusedText(Failure.Host(), Failure.Path(), Failure.Reason())));
        co_return;
    }
}

void TFormRadio::ReportRefusal(const QString &Explanation) {
    // A kept catalogue shown since the start stays; the status line no longer waits for the cloud.
    if (KeptShownReadAt_ != 0)
        CloudNotice_->ShowNotice(QString::fromStdString(KeptCatalogueRefusedStatusText(KeptShownReadAt_)),
                                 Explanation);
    Environment_.Dialogs.ShowError(this, Explanation);
}

QCoro::Task<> TFormRadio::ShowKeptCatalogue(ECloudFailure Failure) {
    const bool certificateRefused = Failure.Certificate().has_value();
    // Shown already, since the start: only what the status bar says changes.
    if (KeptShownReadAt_ != 0) {
        CloudNotice_->ShowNotice(
            QString::fromStdString(KeptCatalogueStatusText(KeptShownReadAt_, certificateRefused)),
            QString::fromStdString(UnreachableKeptText(Failure.Host(), Failure.Reason(), KeptShownReadAt_,
                                                       Failure.Certificate())));
        co_return;
    }
    KeptCatalogueRead kept;
    kept.Problem = KeptProblem_;
    const auto store = Kept_;
    const std::string sort = cdsRadios.SortField();
    const std::string profileID = ReadProfileID();
    if (store)
        kept =
            co_await Steps_.Aside([&store, &sort, &profileID] { return ReadKept(*store, sort, profileID); });
    if (kept.Outcome != KeptCatalogueRead::TOutcome::Kept) {
        // A cloud's catalogue read earlier in this run stays.
        const QString text = QString::fromStdString(UnreachableNothingKeptText(
            Failure.Host(), Failure.Reason(), kept.Problem, Failure.Certificate()));
        const bool toldBefore = !CloudNotice_->Line().isEmpty();
        CloudNotice_->ShowNotice(QString::fromStdString(NothingKeptStatusText(certificateRefused)), text);
        // Told once; the tries that follow by themselves keep the status line.
        if (!toldBefore)
            Environment_.Dialogs.ShowError(this, text);
        co_return;
    }
    const std::time_t readAt = kept.Copy.ReadAt;
    ShowKeptCopy(std::move(kept), QString::fromStdString(KeptCatalogueStatusText(readAt, certificateRefused)),
                 QString::fromStdString(
                     UnreachableKeptText(Failure.Host(), Failure.Reason(), readAt, Failure.Certificate())));
}

void TFormRadio::TryCloudAgainLater() {
    if (CloseStarted_)
        return;
    WatchNetwork();
    CloudRetry_.start(CloudBackoff_.NextDelay());
}

void TFormRadio::TryCloudAgainNow() {
    if (!CloudRetry_.isActive())
        return;
    CloudRetry_.stop();
    RunStartUpSequence();
}

} // namespace Tunewell
