#pragma once

#include <filesystem>
#include <string>

namespace TunewellCloud {

class Database;
class IdentityService;

// What the program's own local cloud holds before the program first reaches it: the program's
// service account, the shipped catalogue and the program's version as the published one. Each is
// added only where it is missing, so a later start changes nothing the cloud holds; the
// catalogue and the version go in as one write, so an interrupted start leaves neither.
struct ProgramProvisioning {
    std::string serviceEmail;
    std::string servicePassword;
    std::filesystem::path stationList;
    std::string version;
    std::string downloadUrl;

    // The build's values and the station list shipped with the program.
    static ProgramProvisioning ofTheBuild();
    // Answers what it added, for the log ("" when nothing); never a credential.
    std::string provide(Database &database, IdentityService &identity) const;
};

} // namespace TunewellCloud
