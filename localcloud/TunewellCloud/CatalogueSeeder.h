#pragma once

#include <filesystem>
#include <string>

namespace TunewellCloud {

class Database;

// Fills a data folder's database the way the maintainer publishes: the catalogue ESTACOES
// replaced by one added record per line of the station list, and VERSOES merged.
namespace CatalogueSeeder {

// Answers the number of stations added. Lines without a quoted, seven-field body are skipped.
int seed(Database &database, const std::filesystem::path &stationList, const std::string &version,
         const std::string &downloadUrl);

} // namespace CatalogueSeeder
} // namespace TunewellCloud
