#include "TunewellCloud/ProgramProvisioning.h"

#include "TunewellCloud/CatalogueSeeder.h"
#include "TunewellCloud/Clock.h"
#include "TunewellCloud/Database.h"
#include "TunewellCloud/IdentityService.h"
#include "TunewellCloud/ProgramFiles.h"
#include "TunewellCloud/PushIdGenerator.h"

#include <Tunewell/BuildValues.h>

namespace TunewellCloud {

ProgramProvisioning ProgramProvisioning::ofTheBuild() {
    return {Tunewell::BuildValues::kServiceEmail, Tunewell::BuildValues::kServicePassword,
            shippedCatalogueFile(), Tunewell::BuildValues::kVersion, Tunewell::BuildValues::kMakerSite};
}

std::string ProgramProvisioning::provide(Database &database, IdentityService &identity) const {
    std::string added;
    if (identity.addAccountIfMissing(serviceEmail, servicePassword))
        added = "the program's service account";
    Json missing = Json::object();
    if (database.read({"ESTACOES"}) == "null") {
        PushIdGenerator keys;
        Json catalogue = Json::object();
        for (Json &station : CatalogueSeeder::stations(stationList))
            catalogue[keys.next(nowMilliseconds())] = std::move(station);
        added += (added.empty() ? "" : ", ") + std::to_string(catalogue.size()) + " stations of " +
                 stationList.string();
        missing["ESTACOES"] = std::move(catalogue);
    }
    if (database.read({"VERSOES"}) == "null") {
        missing["VERSOES"] = Json{{"Software", version}, {"Url", downloadUrl}};
        added += (added.empty() ? "" : ", ") + std::string("version ") + version;
    }
    if (!missing.empty())
        database.patch({}, std::move(missing));
    return added;
}

} // namespace TunewellCloud
