#pragma once

#include <filesystem>

namespace TunewellCloud {

// The program's own rules, which serve enforces when no --rules is given: the file the package
// installs beside the programs (/usr/share/tunewell/database.rules.json for
// /usr/bin/tunewell-cloud, wherever the package's files are), or the source tree's for a program
// of the build folder. Throws RulesFileError when neither is there.
std::filesystem::path defaultRulesFile();

} // namespace TunewellCloud
