#include "shared/core/NomeMaquina.h"

#include <windows.h>

namespace Tunewell {

std::string NomeMaquina() {
    wchar_t name[MAX_COMPUTER_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTER_LENGTH + 1;
    if (!GetComputerNameW(name, &size)) {
        return {};
    }
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, name, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
    std::string text(length > 0 ? length : 0, '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, name, static_cast<int>(size), text.data(), length, nullptr, nullptr);
    }
    return text;
}

} // namespace Tunewell
