#include "TunewellCloud/ProgramFiles.h"

#include "TunewellCloud/SecurityRules.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace TunewellCloud {

namespace {

bool lies(const std::filesystem::path &path, const std::filesystem::path &folder) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

// The installed file, or the source tree's for a program of the build folder; nothing when
// neither is there. Where the installed one was sought goes into Sought.
std::optional<std::filesystem::path> programFile(const std::string &name, std::filesystem::path &sought) {
    std::error_code error;
    const auto program = std::filesystem::weakly_canonical("/proc/self/exe", error);
    sought = (program.parent_path() / TUNEWELL_SHARE_BESIDE_PROGRAMS / name).lexically_normal();
    if (!error && std::filesystem::is_regular_file(sought, error))
        return sought;
    const std::filesystem::path build = std::filesystem::weakly_canonical(TUNEWELL_BUILD_FOLDER, error);
    if (!error && lies(program, build))
        return std::filesystem::path(TUNEWELL_RESOURCES_IN_SOURCES) / name;
    return std::nullopt;
}

} // namespace

std::filesystem::path defaultRulesFile() {
    std::filesystem::path sought;
    if (auto file = programFile("database.rules.json", sought))
        return *file;
    throw RulesFileError("no rules file at " + sought.string() +
                         "; name one with --rules FILE (or --rules open)");
}

std::filesystem::path shippedCatalogueFile() {
    std::filesystem::path sought;
    if (auto file = programFile("lista_radios.txt", sought))
        return *file;
    throw std::runtime_error("no station list at " + sought.string());
}

} // namespace TunewellCloud
