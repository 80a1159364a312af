#include "shared/core/MacAddress.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

namespace Tunewell {

namespace {

bool ParseHardwareAddress(const std::string &Text, TAdapterAddress &Address) {
    unsigned bytes[6];
    char tail = 0;
    if (std::sscanf(Text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x%c", &bytes[0], &bytes[1], &bytes[2], &bytes[3],
                    &bytes[4], &bytes[5], &tail) < 6 ||
        (tail != 0 && tail != '\n')) {
        return false;
    }
    std::transform(bytes, bytes + 6, Address.begin(),
                   [](unsigned Byte) { return static_cast<std::uint8_t>(Byte); });
    return true;
}

bool IsVirtual(const std::filesystem::path &Interface) {
    std::error_code error;
    const auto device = std::filesystem::canonical(Interface, error);
    if (error) {
        return true;
    }
    for (const auto &part : device) {
        if (part == "virtual") {
            return true;
        }
    }
    return false;
}

} // namespace

std::string FormatAdapterAddress(const TAdapterAddress &Address) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const auto byte : Address) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

std::string AdapterAddressFromUuids(const std::array<std::uint8_t, 16> &First, bool FirstOk,
                                    const std::array<std::uint8_t, 16> &Second, bool SecondOk) {
    if (!FirstOk || !SecondOk || !std::equal(First.begin() + 10, First.end(), Second.begin() + 10)) {
        return {};
    }
    TAdapterAddress node;
    std::copy(First.begin() + 10, First.end(), node.begin());
    return FormatAdapterAddress(node);
}

std::string FirstPhysicalAdapterAddress(const std::filesystem::path &ClassNet) {
    std::error_code error;
    std::vector<std::filesystem::path> interfaces;
    for (const auto &entry : std::filesystem::directory_iterator(ClassNet, error)) {
        interfaces.push_back(entry.path());
    }
    std::sort(interfaces.begin(), interfaces.end());
    for (const auto &interface : interfaces) {
        if (interface.filename() == "lo" || IsVirtual(interface)) {
            continue;
        }
        std::ifstream file(interface / "address");
        std::string text;
        TAdapterAddress address;
        if (std::getline(file, text) && ParseHardwareAddress(text, address) &&
            std::any_of(address.begin(), address.end(), [](std::uint8_t Byte) { return Byte != 0; })) {
            return FormatAdapterAddress(address);
        }
    }
    return {};
}

} // namespace Tunewell
