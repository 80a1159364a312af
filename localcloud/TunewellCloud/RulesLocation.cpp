#include "TunewellCloud/RulesLocation.h"

#include "TunewellCloud/SecurityRules.h"

#include <algorithm>

namespace TunewellCloud {

namespace {

bool lies(const std::filesystem::path &path, const std::filesystem::path &folder) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

} // namespace

std::filesystem::path defaultRulesFile() {
    std::error_code error;
    const auto program = std::filesystem::weakly_canonical("/proc/self/exe", error);
    const auto installed = program.parent_path() / TUNEWELL_RULES_BESIDE_PROGRAMS;
    if (!error && std::filesystem::is_regular_file(installed, error))
        return installed.lexically_normal();
    const std::filesystem::path build = std::filesystem::weakly_canonical(TUNEWELL_BUILD_FOLDER, error);
    if (!error && lies(program, build))
        return TUNEWELL_RULES_IN_SOURCES;
    throw RulesFileError("no rules file at " + installed.lexically_normal().string() +
                         "; name one with --rules FILE (or --rules open)");
}

} // namespace TunewellCloud
