#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace Tunewell {

using TAdapterAddress = std::array<std::uint8_t, 6>;

// The 48-bit address of one network adapter of this machine as 12 upper-case hexadecimal
// digits (the same adapter on every call), or empty when none can be obtained.
std::string getMacAddress();

// 001A2B3C4D5E for the adapter 00-1A-2B-3C-4D-5E.
std::string FormatAdapterAddress(const TAdapterAddress &Address);

// From two sequential UUIDs made one after the other: their node fields (the last six bytes)
// when both calls succeeded and the fields agree; empty otherwise.
std::string AdapterAddressFromUuids(const std::array<std::uint8_t, 16> &First, bool FirstOk,
                                    const std::array<std::uint8_t, 16> &Second, bool SecondOk);

// The first interface, in name order, of a folder laid out like /sys/class/net that is not
// the loopback, not virtual (its device path lies below a "virtual" folder) and has a
// six-byte, non-zero hardware address; empty when there is none.
std::string FirstPhysicalAdapterAddress(const std::filesystem::path &ClassNet);

} // namespace Tunewell
