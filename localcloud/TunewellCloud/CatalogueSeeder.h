#pragma once

#include "TunewellCloud/Json.h"

#include <filesystem>
#include <string>
#include <vector>

namespace TunewellCloud {

class Database;

// Fills a data folder's database the way the maintainer publishes: the catalogue ESTACOES
// replaced by one added record per line of the station list, and VERSOES merged.
namespace CatalogueSeeder {

// The station records of a station list, numbered from 1 in its order. Lines without a quoted,
// seven-field body are skipped. Throws std::runtime_error when the file cannot be read.
std::vector<Json> stations(const std::filesystem::path &stationList);
// Answers the number of stations added.
int seed(Database &database, const std::filesystem::path &stationList, const std::string &version,
         const std::string &downloadUrl);

} // namespace CatalogueSeeder
} // namespace TunewellCloud
