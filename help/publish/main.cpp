// tunewell-publish: the maintainer's way to the publishing of the help window's hidden panel.
// Same operations, same code: signs in with the build's service account, then replaces the
// station catalogue from a station list file, or publishes a version and its download address.

#include "Cumulo/JsonText.h"
#include "Cumulo/Log.h"
#include "Cumulo/WorkerThreads.h"
#include "Tunewell/BuildValues.h"
#include "help/core/StationListFile.h"
#include "help/publish/PublishCatalogue.h"
#include "help/publish/PublishPushKeys.h"
#include "help/publish/PublishVersion.h"
#include "shared/core/LocalCloudStarter.h"
#include "shared/core/WindowCloud.h"
#include "shared/core/WindowCloudCumuloClients.h"
#include "shared/core/WindowCloudLog.h"

#include <QString>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace Tunewell;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char *kUsageText =
    "usage: tunewell-publish [--verbose] catalogue FILE\n"
    "       tunewell-publish [--verbose] version VERSION URL\n"
    "       tunewell-publish check FILE\n"
    "       tunewell-publish --help | --version\n"
    "catalogue: signs in with the build's service account and replaces the station catalogue with\n"
    "           the stations of FILE in one write, printing one line per station written.\n"
    "version:   signs in and publishes VERSION and its download URL.\n"
    "check:     reads and cuts FILE and prints the number of stations and the size of the request\n"
    "           that would replace the catalogue; nothing is sent.\n"
    "--verbose: the cloud client's diagnostic lines on standard error.\n"
    "Environment: FIREBASE_DATABASE_EMULATOR_HOST=host:port sends the database requests to\n"
    "http://host:port; FIREBASE_AUTH_EMULATOR_HOST=host:port sends the identity and token requests\n"
    "to http://host:port; TUNEWELL_CA_FILE=FILE trusts that PEM certificate authority beside the\n"
    "system's store. Without them, a build for the program's own local cloud starts that cloud when\n"
    "nothing answers there, as the program does.\n";

// The window's log, printed: one line per outcome, as the panel would show it.
class PrintedLog : public IWindowCloudLog {
public:
    void AddLine(const std::string &Line) override { std::cout << Line << '\n'; }
    void Clear() override {}
};

int Fail(const std::string &Message) {
    std::cout.flush();
    std::cerr << "tunewell-publish: " << Message << '\n';
    return kFailed;
}

bool SignIn(WindowCloud &Cloud, std::string &Error) {
    const auto Outcome = Cloud.SignIn();
    if (!Outcome.Succeeded) {
        Error = "sign-in with the service account failed: " + Outcome.ErrorMessage;
        return false;
    }
    return Cloud.CheckAndCreateRealTimeDBClass();
}

int PublishCatalogueFile(WindowCloud &Cloud, const std::string &FileName) {
    PublishPushKeys Keys;
    std::optional<PublishCatalogue> Catalogue;
    try {
        Catalogue.emplace(PublishCatalogue::FromFile(QString::fromLocal8Bit(FileName), Keys));
    } catch (const std::exception &Error) {
        return Fail(FileName + ": " + Error.what());
    }
    std::string Error;
    if (!SignIn(Cloud, Error))
        return Fail(Error);
    if (!Catalogue->Write(Cloud))
        return Fail("the catalogue was not written; the cloud keeps the previous one");
    return 0;
}

int CheckCatalogueFile(const std::string &FileName) {
    PublishPushKeys Keys;
    try {
        const auto Catalogue = PublishCatalogue::FromFile(QString::fromLocal8Bit(FileName), Keys);
        std::cout << Catalogue.Keys().size() << " stations, "
                  << Cumulo::RequestBodyText(Catalogue.Node()).size() << " bytes in the request\n";
        return 0;
    } catch (const std::exception &Error) {
        return Fail(FileName + ": " + Error.what());
    }
}

int PublishVersionText(WindowCloud &Cloud, const std::string &Version, const std::string &Url) {
    std::string Error;
    if (!SignIn(Cloud, Error))
        return Fail(Error);
    if (!PublishVersion(Cloud, Version, Url).Succeeded)
        return Fail("the version was not published");
    return 0;
}

int RunCommand(std::vector<std::string> Arguments) {
    if (Arguments.size() == 1 && Arguments[0] == "--help") {
        std::cout << kUsageText;
        return 0;
    }
    if (Arguments.size() == 1 && Arguments[0] == "--version") {
        std::cout << "tunewell-publish " << BuildValues::kVersion << '\n';
        return 0;
    }
    if (!Arguments.empty() && Arguments[0] == "--verbose")
        Arguments.erase(Arguments.begin());
    else
        // Standard error carries only this command's own messages.
        Cumulo::SetLogSink([](const std::string &) {});
    // The publishing commands reach the program's own local cloud as the program does, started when
    // nothing answers there; held until the command ends, so that it does not end idle under it.
    std::optional<LocalCloudStarter> ownCloud;
    if (!Arguments.empty() && (Arguments[0] == "catalogue" || Arguments[0] == "version")) {
        if (auto options = LocalCloudStarter::ForThisProgram()) {
            ownCloud.emplace(std::move(*options));
            try {
                if (ownCloud->NeedsStart()) {
                    std::cerr << "tunewell-publish: starting the local cloud\n";
                    ownCloud->Start();
                }
            } catch (const ELocalCloudStart &Error) {
                return Fail(std::string("the local cloud could not be started: ") + Error.what());
            }
        }
    }
    PrintedLog Log;
    WindowCloud Cloud(Log, WindowCloudRole::Other, std::make_shared<WindowCloudCumuloClients>());
    if (Arguments.size() == 2 && Arguments[0] == "catalogue")
        return PublishCatalogueFile(Cloud, Arguments[1]);
    if (Arguments.size() == 2 && Arguments[0] == "check")
        return CheckCatalogueFile(Arguments[1]);
    if (Arguments.size() == 3 && Arguments[0] == "version")
        return PublishVersionText(Cloud, Arguments[1], Arguments[2]);
    std::cerr << kUsageText;
    return kUsage;
}

} // namespace

int main(int argc, char **argv) {
    // The sign-in opens the database's connection on a worker, which ends before the libraries go.
    return Cumulo::EndAfterRunningRequests(RunCommand(std::vector<std::string>(argv + 1, argv + argc)));
}
