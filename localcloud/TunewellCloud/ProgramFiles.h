#pragma once

#include <filesystem>

namespace TunewellCloud {

// The program's own files that tunewell-cloud uses: those the package installs beside the
// programs (/usr/share/tunewell/NAME for /usr/bin/tunewell-cloud, wherever the package's files
// are), or the source tree's resources/NAME for a program of the build folder.

// The rules serve enforces when no --rules is given. Throws RulesFileError when there are none.
std::filesystem::path defaultRulesFile();
// The station list shipped with the program, which the program's own cloud is seeded with.
// Throws std::runtime_error when there is none.
std::filesystem::path shippedCatalogueFile();

} // namespace TunewellCloud
