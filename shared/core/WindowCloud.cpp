#include "shared/core/WindowCloud.h"

#include "Cumulo/Endpoints.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/HttpResponse.h"
#include "Cumulo/JsonText.h"
#include "Cumulo/UrlParts.h"
#include "shared/core/WindowCloudFailure.h"

#include <stdexcept>
#include <utility>

namespace Tunewell {

using Cumulo::TJSONValue;
using Cumulo::TOptionalJSON;
using Cumulo::TStringDynArray;

namespace {
// Once the program is ending, after its close record or a restart request, no window reaches
// the cloud again: a handler that a closing modal window lets go on would otherwise write on.
void RefuseWhenEnding() {
    if (Cumulo::TFirebaseHelpers::AppIsTerminated())
        throw std::runtime_error("The program is ending: nothing more is sent");
}
} // namespace

WindowCloud::WindowCloud(IWindowCloudLog &Log, WindowCloudRole Role,
                         std::shared_ptr<IWindowCloudClients> Clients, WindowCloudSettings Settings)
    : Log_(Log), Role_(Role), Clients_(std::move(Clients)), Settings_(std::move(Settings)) {}

std::string WindowCloud::DatabaseHost() {
    return Cumulo::SplitURL(Cumulo::DatabaseBaseURL()).HostPort();
}

std::string WindowCloud::IdentityHost() {
    return Cumulo::SplitURL(Cumulo::IdentityBaseURL()).HostPort();
}

std::string WindowCloud::GetPathFromResParams(const TStringDynArray &ResParams) {
    std::string path;
    for (std::size_t i = 0; i < ResParams.size(); ++i) {
        if (i > 0)
            path += '/';
        path += ResParams[i];
    }
    return path;
}

TStringDynArray WindowCloud::SplitPath(const std::string &Path) {
    TStringDynArray segments(1);
    for (char c : Path) {
        if (c == '/' || c == '\\')
            segments.emplace_back();
        else
            segments.back() += c;
    }
    return segments;
}

void WindowCloud::ShowRTNode(const TStringDynArray &ResourceParams, const TJSONValue &Val) {
    try {
        if (Val.is_object()) {
            for (const auto &[name, value] : Val.items())
                Log_.AddLine(name + ": " + Cumulo::FullJsonText(value));
        } else if (Val.is_null()) {
            Log_.AddLine("Path " + GetPathFromResParams(ResourceParams) + " not found");
        } else {
            Log_.AddLine(Cumulo::SimpleJsonText(Val));
        }
    } catch (const std::exception &error) {
        Log_.AddLine(std::string("Show RT Node failed: ") + error.what());
    }
}

bool WindowCloud::Authenticated() const {
    return fAuth_ && fAuth_->Authenticated();
}

bool WindowCloud::CheckSignedIn() {
    if (Authenticated())
        return true;
    if (Role_ == WindowCloudRole::Other)
        Log_.AddLine("Por favor, conecte-se primeiro!");
    return false;
}

bool WindowCloud::CheckAndCreateRealTimeDBClass() {
    if (Role_ == WindowCloudRole::Main)
        apiKey_ = Settings_.ProjectID;
    if (!CheckSignedIn())
        return false;
    if (fRealTimeDB_)
        return true;
    fRealTimeDB_ = Clients_->CreateRealTimeDB(Settings_.ProjectID, fAuth_);
    fFirebaseEvent_.reset();
    return fRealTimeDB_ != nullptr;
}

SignInOutcome WindowCloud::SignIn() {
    SignInOutcome outcome;
    outcome.Ran = true;
    try {
        RefuseWhenEnding();
        auto auth = Clients_->CreateAuthentication(Settings_.ApiKey);
        if (!auth)
            throw std::runtime_error("No authentication client");
        fAuth_ = std::move(auth);
        fAuth_->SignInWithEmailAndPasswordSynchronous(Settings_.Email, Settings_.Password);
        auto database = Clients_->CreateRealTimeDB(Settings_.ProjectID, fAuth_);
        if (!database)
            throw std::runtime_error("No database client");
        fRealTimeDB_ = std::move(database);
        outcome.Succeeded = true;
    } catch (const Cumulo::ECertificate &error) {
        outcome.ErrorMessage = error.what();
        outcome.Unreachable = true;
        outcome.Certificate = error.Problem();
        outcome.CertificateHost = error.Host();
    } catch (const Cumulo::ETransport &error) {
        outcome.ErrorMessage = error.what();
        outcome.Unreachable = true;
    } catch (const Cumulo::EFirebaseResponse &error) {
        outcome.ErrorMessage = error.what();
        outcome.Unreachable = Cumulo::IsServiceUnavailable(error.StatusCode());
    } catch (const std::exception &error) {
        outcome.ErrorMessage = error.what();
    }
    LastSignIn_ = outcome;
    return outcome;
}

SignInOutcome WindowCloud::SignInIfNeeded() {
    if (Authenticated())
        return {false, true, {}};
    return SignIn();
}

Cumulo::IRealTimeDB &WindowCloud::Database() const {
    RefuseWhenEnding();
    if (!fRealTimeDB_) {
        const bool tried = LastSignIn_.Ran && !LastSignIn_.Succeeded;
        throw ECloudFailure(
            LastSignIn_.Unreachable ? ECloudFailure::TKind::Unreachable : ECloudFailure::TKind::NotSignedIn,
            LastSignIn_.Certificate ? LastSignIn_.CertificateHost : IdentityHost(),
            tried ? LastSignIn_.ErrorMessage : "no database client", {}, LastSignIn_.Certificate);
    }
    return *fRealTimeDB_;
}

WriteOutcome WindowCloud::Write(WriteKind Kind, const TStringDynArray &Path, const TJSONValue &Data) {
    try {
        auto &database = Database();
        TOptionalJSON answer;
        switch (Kind) {
        case WriteKind::Post:
            answer = database.PostSynchronous(Path, Data);
            break;
        case WriteKind::Put:
            answer = database.PutSynchronous(Path, Data);
            break;
        case WriteKind::Patch:
            answer = database.PatchSynchronous(Path, Data);
            break;
        }
        ShowRTNode(Path, answer ? *answer : TJSONValue(nullptr));
        return {true, std::move(answer)};
    } catch (const std::exception &error) {
        // One line for every kind of write: the windows never told them apart.
        Log_.AddLine("Post " + GetPathFromResParams(Path) + " failed: " + error.what());
        return {false, std::nullopt};
    }
}

WriteOutcome WindowCloud::Post(const TStringDynArray &Path, const TJSONValue &Data) {
    return Write(WriteKind::Post, Path, Data);
}

WriteOutcome WindowCloud::Put(const TStringDynArray &Path, const TJSONValue &Data) {
    return Write(WriteKind::Put, Path, Data);
}

WriteOutcome WindowCloud::Patch(const TStringDynArray &Path, const TJSONValue &Data) {
    return Write(WriteKind::Patch, Path, Data);
}

DeleteOutcome WindowCloud::Delete(const TStringDynArray &Path) {
    const auto path = GetPathFromResParams(Path);
    try {
        if (Database().DeleteSynchronous(Path)) {
            Log_.AddLine("Delete " + path + " passed");
            return DeleteOutcome::Deleted;
        }
        Log_.AddLine("Path " + path + " not found");
        return DeleteOutcome::NotFound;
    } catch (const std::exception &error) {
        Log_.AddLine("Delete " + path + " failed: " + error.what());
        return DeleteOutcome::Failed;
    }
}

// A read's failure as the windows tell it: an unreachable cloud or a refused read.
template <class Read> auto WindowCloud::Translated(const TStringDynArray &Path, Read &&Reading) {
    auto &database = Database();
    try {
        return Reading(database);
    } catch (const Cumulo::ECertificate &error) {
        throw ECloudFailure(ECloudFailure::TKind::Unreachable, error.Host(), error.what(),
                            GetPathFromResParams(Path), error.Problem());
    } catch (const Cumulo::ETransport &error) {
        throw ECloudFailure(ECloudFailure::TKind::Unreachable, DatabaseHost(), error.what(),
                            GetPathFromResParams(Path));
    } catch (const Cumulo::EFirebaseResponse &error) {
        // A service that is unavailable now has refused nothing.
        throw ECloudFailure(Cumulo::IsServiceUnavailable(error.StatusCode())
                                ? ECloudFailure::TKind::Unreachable
                                : ECloudFailure::TKind::Refused,
                            DatabaseHost(), error.what(), GetPathFromResParams(Path));
    }
}

TOptionalJSON WindowCloud::Get(const TStringDynArray &Path) {
    return Translated(Path, [&](Cumulo::IRealTimeDB &Database) { return Database.GetSynchronous(Path); });
}

std::optional<std::string> WindowCloud::GetNodeText(const TStringDynArray &Path) {
    return Translated(Path,
                      [&](Cumulo::IRealTimeDB &Database) { return Database.GetNodeTextSynchronous(Path); });
}

} // namespace Tunewell
