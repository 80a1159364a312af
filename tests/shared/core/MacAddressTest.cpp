#include "shared/core/MacAddress.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace Tunewell;
namespace fs = std::filesystem;

TEST(MacAddress, FormatsSixBytesAsUpperCaseHex) {
    EXPECT_EQ(FormatAdapterAddress({0x00, 0x0A, 0xFF, 0x1A, 0x2B, 0x3C}), "000AFF1A2B3C");
    EXPECT_EQ(FormatAdapterAddress({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}), "001A2B3C4D5E");
}

TEST(MacAddress, TakesTheNodeFieldOnlyWhenBothUuidsAgree) {
    std::array<std::uint8_t, 16> first{};
    for (int i = 0; i < 16; ++i) {
        first[i] = static_cast<std::uint8_t>(i * 17);
    }
    auto second = first;
    second[0] = 0x99; // the time fields differ between two UUIDs; the node must not
    EXPECT_EQ(AdapterAddressFromUuids(first, true, second, true), "AABBCCDDEEFF");
    EXPECT_EQ(AdapterAddressFromUuids(first, false, second, true), "");
    EXPECT_EQ(AdapterAddressFromUuids(first, true, second, false), "");
    second[15] = 0;
    EXPECT_EQ(AdapterAddressFromUuids(first, true, second, true), "");
}

TEST(MacAddress, PicksTheFirstPhysicalAdapterInNameOrder) {
    QTemporaryDir root;
    const fs::path base = root.path().toStdString();
    auto adapter = [&](const std::string &Device, const std::string &Name, const std::string &Address) {
        fs::create_directories(base / Device / Name);
        std::ofstream(base / Device / Name / "address") << Address << "\n";
        fs::create_directories(base / "class/net");
        fs::create_directory_symlink(base / Device / Name, base / "class/net" / Name);
    };
    adapter("devices/virtual/net", "lo", "00:00:00:00:00:00");
    adapter("devices/virtual/net", "br0", "02:42:ac:11:00:01");
    adapter("devices/pci0000:00/0000:00:03.0/net", "enp0s3", "00:00:00:00:00:00");
    adapter("devices/pci0000:00/0000:00:04.0/net", "enp0s4", "08:00:27:0a:ff:00");
    adapter("devices/pci0000:00/0000:00:05.0/net", "wlan0", "08:00:27:11:22:33");
    EXPECT_EQ(FirstPhysicalAdapterAddress(base / "class/net"), "0800270AFF00");
    EXPECT_EQ(FirstPhysicalAdapterAddress(base / "missing"), "");
}

TEST(MacAddress, GivesTheSameAnswerOnEveryCall) {
    const std::string address = getMacAddress();
    EXPECT_TRUE(address.empty() || address.size() == 12u);
    EXPECT_EQ(getMacAddress(), address);
}
