#include "shared/core/CutToCharacters.h"
#include "shared/core/NomeMaquina.h"

#include <unistd.h>

namespace Tunewell {

std::string NomeMaquina() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    const std::string text(name);
    return CutToCharacters(text, MAX_COMPUTER_LENGTH).size() == text.size() ? text : std::string();
}

} // namespace Tunewell
