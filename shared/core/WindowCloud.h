#pragma once

#include "Cumulo/CertificateProblem.h"
#include "Cumulo/Interfaces.h"
#include "shared/core/WindowCloudClients.h"
#include "shared/core/WindowCloudLog.h"
#include "shared/core/WindowCloudSettings.h"

#include <memory>
#include <string>

namespace Tunewell {

// What differs between the windows' cloud helpers.
enum class WindowCloudRole {
    // The main window: CheckAndCreateRealTimeDBClass stores the project ID in apiKey and
    // CheckSignedIn writes nothing to the log.
    Main,
    // The profile and help windows: CheckSignedIn logs "Por favor, conecte-se primeiro!".
    Other,
};

// How a window sign-in went.
struct SignInOutcome {
    // False when the conditional form found the window already signed in.
    bool Ran = false;
    // True when the block completed or did not need to run.
    bool Succeeded = false;
    // The error that stopped the block (for example "EMAIL_NOT_FOUND"); empty on success.
    std::string ErrorMessage;
    // True when the block failed because the cloud could not be reached at all, or answered that
    // it is unavailable now (Cumulo::IsServiceUnavailable).
    bool Unreachable = false;
    // Why the cloud's certificate was refused, when that made it unreachable.
    std::optional<Cumulo::TCertificateProblem> Certificate{};
    // Where the certificate was refused ("host:port").
    std::string CertificateHost{};
};

// How a write went; the outcome line is already in the log.
struct WriteOutcome {
    bool Succeeded = false;
    // The database's answer ("none" for a 404); meaningful only on success.
    Cumulo::TOptionalJSON Answer;
};

enum class DeleteOutcome { Deleted, NotFound, Failed };

// A window's pair of cloud clients, its sign-in with the service account, and the lines that
// record the outcome of its writes in the window's log memo. One per window that talks to the
// cloud; the clients live as long as this object. No operation lets an error escape except Get,
// whose failures the start-up sequence reports. Once the program is ending (the cloud client's
// AppIsTerminated) every operation fails without reaching the cloud.
class WindowCloud {
public:
    WindowCloud(IWindowCloudLog &Log, WindowCloudRole Role, std::shared_ptr<IWindowCloudClients> Clients,
                WindowCloudSettings Settings = WindowCloudSettings::FromBuild());

    // Segments joined with "/", none at either end; empty for no segments.
    static std::string GetPathFromResParams(const Cumulo::TStringDynArray &ResParams);
    // Where the database and the sign-in are sought, for what the user is told.
    static std::string DatabaseHost();
    static std::string IdentityHost();
    // A path text as the windows build it: every "\" becomes "/", then split at "/".
    static Cumulo::TStringDynArray SplitPath(const std::string &Path);

    // Appends the value to the log: one "name: value" line per member of an object, "Path <p> not
    // found" for null, the simple JSON text otherwise; "Show RT Node failed: <message>" on an error.
    void ShowRTNode(const Cumulo::TStringDynArray &ResourceParams, const Cumulo::TJSONValue &Val);
    // True when fAuth holds a signed-in client; the Other role logs why not.
    bool CheckSignedIn();
    // CheckSignedIn, then makes sure a database client exists on top of fAuth.
    bool CheckAndCreateRealTimeDBClass();
    // True when fAuth holds a signed-in client; never logs.
    bool Authenticated() const;

    // The window sign-in, unconditional form: a new authentication client signed in with the
    // service account and a new database client on top of it. Logs nothing.
    SignInOutcome SignIn();
    // The conditional form: runs SignIn only when fAuth is null or not authenticated.
    SignInOutcome SignInIfNeeded();

    // Writes through fRealTimeDB and logs the outcome: ShowRTNode of the answer, or
    // "Post <path> failed: <message>" for any kind of write (also when there is no database client).
    WriteOutcome Post(const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Data);
    WriteOutcome Put(const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Data);
    WriteOutcome Patch(const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Data);
    // Logs "Delete <path> passed", "Path <path> not found" or "Delete <path> failed: <message>".
    DeleteOutcome Delete(const Cumulo::TStringDynArray &Path);
    // Reads through fRealTimeDB. Errors are thrown to the caller as ECloudFailure: an unreachable
    // cloud, a refused read, or no database client because the last sign-in failed (unreachable
    // when that sign-in could not reach the cloud). Other errors pass unchanged.
    Cumulo::TOptionalJSON Get(const Cumulo::TStringDynArray &Path);
    // The same read as node text (see IRealTimeDB::GetNodeTextSynchronous).
    std::optional<std::string> GetNodeText(const Cumulo::TStringDynArray &Path);

    const std::shared_ptr<Cumulo::IFirebaseAuthentication> &fAuth() const { return fAuth_; }
    const std::shared_ptr<Cumulo::IRealTimeDB> &fRealTimeDB() const { return fRealTimeDB_; }
    const std::shared_ptr<Cumulo::IFirebaseEvent> &fFirebaseEvent() const { return fFirebaseEvent_; }
    // The main window's copy of the project ID, filled by CheckAndCreateRealTimeDBClass.
    const std::string &apiKey() const { return apiKey_; }
    const WindowCloudSettings &Settings() const { return Settings_; }
    IWindowCloudLog &Log() const { return Log_; }

private:
    enum class WriteKind { Post, Put, Patch };
    WriteOutcome Write(WriteKind Kind, const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Data);
    Cumulo::IRealTimeDB &Database() const;
    template <class Read> auto Translated(const Cumulo::TStringDynArray &Path, Read &&Reading);

    IWindowCloudLog &Log_;
    WindowCloudRole Role_;
    std::shared_ptr<IWindowCloudClients> Clients_;
    WindowCloudSettings Settings_;
    std::shared_ptr<Cumulo::IFirebaseAuthentication> fAuth_;
    std::shared_ptr<Cumulo::IRealTimeDB> fRealTimeDB_;
    std::shared_ptr<Cumulo::IFirebaseEvent> fFirebaseEvent_;
    std::string apiKey_;
    SignInOutcome LastSignIn_;
};

} // namespace Tunewell
